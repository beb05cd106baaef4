// Test fixture: a message file on channel 12 and a record file for the
// decoders' output, both through the record layer, in a fresh directory.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.hpp"
#include "recon/recon.hpp"

namespace recon::testing {

// Thrown by the ending handler instead of ending the test process.
struct ProgramEnded {
  rec::Ending how;
};

inline void throw_on_end(rec::Ending how) { throw ProgramEnded{how}; }

class MessageTest : public ::testing::Test {
 protected:
  static constexpr int kOutUnit = 20;

  void SetUp() override {
    previous_ = rec::set_ending_handler(throw_on_end);
    rec::reset_channels();
    reset_dropdata();
    reset_output();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "recon_" + std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }

  void TearDown() override {
    rec::reset_channels();
    rec::set_ending_handler(previous_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string path(std::string_view name) const { return (dir_ / name).string(); }

  // Writes `lines` as the message file and opens it on channel 12, and opens
  // the output file on kOutUnit.
  void feed(const std::vector<std::string>& lines) {
    const std::string messages = path("messages.txt");
    rec::open(30, messages, "NEW");
    for (const std::string& l : lines) rec::write(30, "(a)", {std::string_view(l)});
    rec::close(30);
    rec::open(kMessageUnit, messages, "OLD");
    rec::open(kOutUnit, path("records.txt"), "NEW");
  }

  // Closes the output file and returns its lines without trailing blanks.
  std::vector<std::string> records() {
    rec::close(kOutUnit);
    rec::open(31, path("records.txt"), "OLD");
    std::vector<std::string> lines;
    rec::FixedText<120> l;
    while (rec::read(31, "(a)", {l}, rec::kEndExit) == 0) lines.emplace_back(l.trimmed());
    rec::close(31);
    return lines;
  }

  // The next line of the message input, as a decoder would read it.
  std::string next_message_line() {
    Line l;
    if (read_message_line(l) != 0) return "<end>";
    return std::string(l.trimmed());
  }

 private:
  std::filesystem::path dir_;
  rec::EndingHandler previous_ = nullptr;
};

}  // namespace recon::testing
