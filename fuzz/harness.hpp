// Shared driver of the fuzz targets: runs a program body, or a few record
// statements, on input files made from the fuzzer's bytes, in a scratch
// directory of its own, and tells a designed end of the program from a
// fault.
//
// Designed ends (the plain stop and the failure report with its abort) are
// caught and count as a normal outcome. Anything else the body does wrong
// is a finding: a sanitizer report, an uncaught exception, a hang or memory
// blow-up (libFuzzer's -timeout and -rss_limit_mb), or an output file left
// with a torn last record, which the harness checks after every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace fuzz {

// One file the body finds in its working directory.
struct InputFile {
  std::string_view name;
  std::string_view bytes;
};

// Runs `body` in a fresh scratch directory after writing `inputs`
// there. Returns when the body returns or ends the program by a plain stop
// or a failure report; the channel table is then as at program start and the
// directory is empty again. Every file the body wrote (any file that is not
// one of `inputs`) must be empty or end with a line-feed; a torn last record
// aborts the process, which libFuzzer reports as a crash.
void run_program(std::initializer_list<InputFile> inputs, const std::function<void()>& body);

// Splits `data` at each `separator` byte into at most `max_parts` pieces;
// the last piece keeps any further separators.
std::vector<std::string_view> split(std::string_view data, char separator, std::size_t max_parts);

// The fuzzer's bytes as text.
inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The record-layer targets start each input with two steering bytes: the
// item kinds and the statement flags. Takes them off `in`; false when the
// input is too short to hold them.
struct Steering {
  unsigned kinds = 0;
  unsigned flags = 0;
};
inline bool take_steering(std::string_view& in, Steering& out) {
  if (in.size() < 2) return false;
  out.kinds = static_cast<unsigned char>(in[0]);
  out.flags = static_cast<unsigned char>(in[1]);
  in.remove_prefix(2);
  return true;
}

}  // namespace fuzz
