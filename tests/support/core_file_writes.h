// Counts the replacements and writes of one file in a directory as the kernel reports them, so a
// test sees every write however the program makes it.
#pragma once

#include <filesystem>
#include <string>

namespace vestral::test {

class FileWrites {
  public:
    FileWrites(const std::filesystem::path& dir, std::string name);
    ~FileWrites();
    FileWrites(const FileWrites&) = delete;
    FileWrites& operator=(const FileWrites&) = delete;

    // The writes since construction: the file renamed into place or closed after writing.
    int count();

  private:
    int fd_ = -1;
    std::string name_;
    int count_ = 0;
};

}  // namespace vestral::test
