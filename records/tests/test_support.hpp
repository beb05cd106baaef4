// Helpers for record-layer tests: a scratch directory to run in, and file
// contents.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "records/records.hpp"

namespace rec::testing {

// Runs each test in a fresh temporary directory with the channel table as
// at program start.
class ScratchDir {
 public:
  ScratchDir() {
    old_ = std::filesystem::current_path();
    char tmpl[] = "/tmp/records-test.XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    std::filesystem::current_path(dir_);
    rec::reset_channels();
  }
  ~ScratchDir() {
    rec::reset_channels();
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

 private:
  std::filesystem::path old_;
  std::filesystem::path dir_;
};

inline std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void spit(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

}  // namespace rec::testing
