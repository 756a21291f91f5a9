#include "support/core_tempdir.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace vestral::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vestral-test-XXXXXX").string();
    char* p = ::mkdtemp(tmpl.data());
    if (!p) throw std::runtime_error("mkdtemp");
    path_ = p;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out << bytes;
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string run_python(const std::string& script, int* exit_code) {
    std::string file =
        (std::filesystem::temp_directory_path() / ("vestral-py-" + std::to_string(::getpid()) + ".py"))
            .string();
    {
        std::ofstream out(file);
        out << script;
    }
    std::string cmd = "/usr/bin/python3 " + file + " 2>&1";
    std::string output;
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return "";
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) output.append(buf.data(), n);
    int rc = ::pclose(pipe);
    if (exit_code) *exit_code = WEXITSTATUS(rc);
    std::filesystem::remove(file);
    return output;
}

}  // namespace vestral::test

namespace vestral::test {

std::string dbfread_view(const std::filesystem::path& file, const std::string& field) {
    const std::string script =
        "import dbfread\n"
        "t = dbfread.DBF(r'''" +
        file.string() +
        "''', encoding='cp1252')\n"
        "print(len(t), *t.field_names)\n"
        "for r in t: print(r['" +
        field + "'])\n";
    int rc = -1;
    std::string out = run_python(script, &rc);
    return rc == 0 ? out : std::string();
}

}  // namespace vestral::test
