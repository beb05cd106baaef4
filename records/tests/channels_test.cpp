// Channel table behaviour that a whole-process run cannot show: the ending
// handler that tests and fuzz harnesses install, and reading a file that an
// earlier statement wrote.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "records/records.hpp"
#include "records/tests/test_support.hpp"

namespace {

using rec::testing::ScratchDir;
using rec::testing::slurp;
using rec::testing::spit;

struct Ended {
  rec::Ending how;
};

void throw_ending(rec::Ending how) { throw Ended{how}; }

class EndingHandler : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = rec::set_ending_handler(throw_ending); }
  void TearDown() override { rec::set_ending_handler(previous_); }
  ScratchDir dir_;
  rec::EndingHandler previous_ = nullptr;
};

TEST_F(EndingHandler, PlainStopClosesAndCutsFilesBeforeTheHandler) {
  spit("old.txt", "1\n2\n3\n4\n");
  rec::open(20, "old.txt", "UNKNOWN");
  rec::write(20, "(A)", {"new"});
  try {
    rec::stop();
    FAIL() << "stop returned";
  } catch (const Ended& e) {
    EXPECT_EQ(e.how, rec::Ending::plain_stop);
  }
  EXPECT_EQ(slurp("old.txt"), "new\n");
  // The table is back at its start state: channel 20 is free again.
  EXPECT_EQ(rec::open(20, "other.txt", "NEW", rec::kErrExit), 0);
}

TEST_F(EndingHandler, FailureWithoutExitReachesTheHandler) {
  std::int32_t v = 0;
  ::testing::internal::CaptureStderr();
  try {
    rec::read_text("x", "(I1)", {v});
    FAIL() << "read returned";
  } catch (const Ended& e) {
    EXPECT_EQ(e.how, rec::Ending::failure);
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "fmt: read unexpected character\napparent state: internal I/O\nlast format: (I1)\n"
            "lately reading sequential formatted internal IO\n");
}

TEST(Channels, ReadingBackWhatWasWritten) {
  ScratchDir dir;
  ASSERT_EQ(rec::open(22, "data.txt", "NEW"), 0);
  const float lat = 25.5f, lon = -80.25f;
  rec::write(22, "(2F7.3)", {lat, lon});
  rec::close(22);
  ASSERT_EQ(rec::open(22, "data.txt", "OLD"), 0);
  float a = 0, b = 0;
  ASSERT_EQ(rec::read(22, "(2F7.3)", {a, b}), 0);
  EXPECT_EQ(a, lat);
  EXPECT_EQ(b, lon);
  EXPECT_EQ(rec::read(22, "(2F7.3)", {a, b}, rec::kEndExit), rec::kEndOfFile);
  // Once the end was met, every later read reports it at once.
  EXPECT_EQ(rec::read(22, "(A)", {}, rec::kEndExit), rec::kEndOfFile);
}

}  // namespace
