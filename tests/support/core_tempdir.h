// A fresh program directory per test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace vestral::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

  private:
    std::filesystem::path path_;
};

// Runs Debian's python3 (which sees python3-dbfread) with a script; returns its standard output.
std::string run_python(const std::string& script, int* exit_code = nullptr);

// What python3-dbfread sees in a table file: one line "<count> <field names...>" followed by the
// value of `field` of every record, one per line; empty when it cannot read the file.
std::string dbfread_view(const std::filesystem::path& file, const std::string& field);

}  // namespace vestral::test
