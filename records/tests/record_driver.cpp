// A small program that runs one record-layer scenario, so that whole-process
// behaviour (failure reports on standard error, the abort, files cut at
// their last record, program end) can be checked byte for byte.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "records/records.hpp"

namespace {

void print_status(std::string_view what, int status) {
  rec::write(6, "(A,I5)", {what, status});
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view scenario = argc > 1 ? argv[1] : "";
  std::int32_t i = 0;
  float x = 0;
  if (scenario == "new-exists") {
    print_status("with exit:", rec::open(13, "taken", "new", rec::kErrExit));
    rec::open(13, "taken", "NEW");
  } else if (scenario == "old-missing") {
    print_status("with exit:", rec::open(11, "sonde.land.tbl", "OLD", rec::kErrExit));
    rec::open(11, "sonde.land.tbl            ", "Old");
  } else if (scenario == "bad-number") {
    // ten.txt held ten lines; three records are written before the failure.
    rec::open(20, "ten.txt", "UNKNOWN");
    for (std::int32_t n = 1; n <= 3; ++n) rec::write(20, "('record',I2)", {n});
    rec::open(21, "in.txt", "OLD");
    rec::read(21, "(I5)", {i});
    print_status("first:", i);
    rec::read(21, "(I5)", {i});
  } else if (scenario == "eof-begin") {
    // The last line lacks its line-feed: the first read takes part of it and
    // leaves the file at its end.
    rec::open(21, "in.txt", "OLD");
    rec::FixedText<5> line;
    print_status("first:", rec::read(21, "(A)", {line}, rec::kEndExit));
    print_status("second:", rec::read(21, "(A)", {line}, rec::kEndExit));
    rec::read(21, "(A)", {line});
  } else if (scenario == "eof-list") {
    rec::read_list("  42  ", {x, i}, rec::kErrExit);
  } else if (scenario == "bad-layout") {
    print_status("with exit:", rec::write(6, "(I3", {i}, rec::kErrExit));
    rec::write(6, "(I3", {i});
  } else if (scenario == "recend") {
    rec::FixedText<4> text;
    rec::write_text(text, "(4X,I1)", {i});
  } else if (scenario == "channels") {
    // A transfer on an unconnected channel goes to fort.<n>.
    rec::write_list(8, {" OPEN OR READ OR CITY ERROR IN SUBROUTINE TRACK"});
    // Re-opening the file a channel already holds does nothing, even NEW.
    print_status("new:", rec::open(9, "points1", "NEW", rec::kErrExit));
    print_status("same file:", rec::open(9, "points1", "NEW", rec::kErrExit));
    rec::close(9);
    print_status("again:", rec::open(9, "points1", "NEW", rec::kErrExit));
    print_status("bad unit:", rec::open(100, "x", "NEW", rec::kErrExit));
    print_status("no name:", rec::open(10, "    ", "NEW", rec::kErrExit));
    // Opened UNKNOWN and never written: unchanged. Written: cut after the
    // last record at the plain stop.
    rec::open(30, "kept.txt", "UNKNOWN");
    rec::open(31, "cut.txt", "unknown");
    rec::write(31, "(A)", {"one"});
    rec::write(31, "(A)", {"two"});
    rec::stop();
  } else {
    std::fputs("unknown scenario\n", stderr);
    return 2;
  }
  return 0;
}
