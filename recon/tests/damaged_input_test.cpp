// Damaged feeds: every decoder must end (return, or end the program through
// the record layer) on truncated and garbled copies of the sample feeds,
// without writing past a table. Run under the sanitizer build this also
// shows that no input reads or writes out of bounds.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "records/records.hpp"
#include "recon/recon.hpp"
#include "recon/tests/message_fixture.hpp"

#ifndef RECON_GOLDEN_DIR
#error "RECON_GOLDEN_DIR must name the folder of the whole-program cases"
#endif

namespace recon {
namespace {

struct Feed {
  const char* golden_case;
  MessageKind kind;
};

class DamagedInputTest : public testing::MessageTest, public ::testing::WithParamInterface<Feed> {
 protected:
  std::vector<std::string> sample() {
    const std::string file = std::string(RECON_GOLDEN_DIR) + "/" + GetParam().golden_case + "/input/messages.txt";
    rec::open(40, file, "OLD");
    std::vector<std::string> lines;
    rec::FixedText<80> l;
    while (rec::read(40, "(a)", {l}, rec::kEndExit) == 0) lines.emplace_back(l.trimmed());
    rec::close(40);
    return lines;
  }

  // Decodes one damaged feed; counts how it ended.
  void decode(const std::vector<std::string>& lines) {
    const std::string messages = path("damaged.txt");
    rec::open(41, messages, "UNKNOWN");
    for (const std::string& line : lines) rec::write(41, "(a)", {std::string_view(line)});
    rec::close(41);
    rec::open(kMessageUnit, messages, "OLD");
    rec::open(kOutUnit, path("records.txt"), "UNKNOWN");
    reset_dropdata();
    try {
      decode_messages(GetParam().kind, kOutUnit, 26, 8, 25, 2);
      ++returned_;
    } catch (const testing::ProgramEnded& e) {
      ++(e.how == rec::Ending::plain_stop ? stopped_ : failed_);
    }
    EXPECT_GE(dropdata().n, 0);
    EXPECT_LE(dropdata().n, kMaxDropRecords);
    rec::close(kMessageUnit);
    rec::close(kOutUnit);
  }

  int returned_ = 0, stopped_ = 0, failed_ = 0;
};

TEST_P(DamagedInputTest, EveryDecodingEnds) {
  const std::vector<std::string> lines = sample();
  ASSERT_GT(lines.size(), 10u);

  // The failure reports of unreadable numeric fields go to standard error;
  // keep them out of the test log.
  const int saved_stderr = dup(2);
  const int null_fd = open("/dev/null", O_WRONLY);
  ASSERT_GE(null_fd, 0);
  dup2(null_fd, 2);

  // Cut after every line.
  for (std::size_t n = 0; n <= lines.size(); ++n) {
    decode(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(n)));
  }
  // Whole lines hold only readable fields: no cut there ends in a failure.
  EXPECT_EQ(failed_, 0);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // Cut inside a line, the rest of the feed following or not.
    for (std::size_t c = 1; c < lines[i].size(); c += 7) {
      std::vector<std::string> cut(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      cut.back().resize(c);
      decode(cut);
      auto rest = lines;
      rest[i].resize(c);
      decode(rest);
    }
    // One character replaced by a missing-data mark, a letter, a blank or an
    // end-of-message mark.
    for (std::size_t c = 0; c < lines[i].size(); c += 4) {
      for (char bad : {'/', 'X', ' ', '='}) {
        auto garbled = lines;
        garbled[i][c] = bad;
        decode(garbled);
      }
    }
  }
  // A feed of the same message many times over fills no table beyond its end.
  std::vector<std::string> repeated;
  for (int k = 0; k < 20; ++k) repeated.insert(repeated.end(), lines.begin(), lines.end());
  decode(repeated);

  dup2(saved_stderr, 2);
  close(saved_stderr);
  close(null_fd);
}

INSTANTIATE_TEST_SUITE_P(Feeds, DamagedInputTest,
                         ::testing::Values(Feed{"drop_three_messages", MessageKind::drop},
                                           Feed{"recco_two_bulletins", MessageKind::recco},
                                           Feed{"vortex_two_bulletins_to_end_of_input", MessageKind::vortex}),
                         [](const ::testing::TestParamInfo<Feed>& info) {
                           const std::string name = info.param.golden_case;
                           return name.substr(0, name.find('_'));
                         });

}  // namespace
}  // namespace recon
