#include "support/core_file_writes.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

namespace vestral::test {

FileWrites::FileWrites(const std::filesystem::path& dir, std::string name) : name_(std::move(name)) {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0 || inotify_add_watch(fd_, dir.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0)
        ADD_FAILURE() << "cannot watch " << dir;
}

FileWrites::~FileWrites() {
    if (fd_ >= 0) ::close(fd_);
}

int FileWrites::count() {
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            if (e->len > 0 && name_ == e->name) ++count_;
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    return count_;
}

}  // namespace vestral::test
