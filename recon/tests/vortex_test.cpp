// Vortex message decoder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recon/recon.hpp"
#include "recon/tests/message_fixture.hpp"

namespace recon {
namespace {

const std::vector<std::string> kHead = {"URNT14 KNHC 311815", "AF305 0113A KAREN",
                                        "SUPPLEMENTARY VORTEX DATA MESSAGE"};

// A data line: latitude 23.4, longitude 87.6, then surface code and height
// digits, temperature and dew point codes, wind.
std::string data(const std::string& code_height, const std::string& temp_dew = "2824",
                 const std::string& wind = "09012") {
  return "01234  0876  " + code_height + "  " + temp_dew + " " + wind;
}

class VortexTest : public testing::MessageTest {
 protected:
  // Runs `vortex`; true when it returned, false when it ended the program.
  bool run(std::vector<std::string> lines) {
    lines.insert(lines.begin(), kHead.begin(), kHead.end());
    feed(lines);
    EXPECT_EQ(read_message_line(line_), 0);
    try {
      vortex(kOutUnit, 26, 8, 29, line_);
    } catch (const testing::ProgramEnded& e) {
      EXPECT_EQ(e.how, rec::Ending::plain_stop);
      // The program's end closed every channel; reopen the records.
      rec::open(kOutUnit, path("records.txt"), "OLD");
      ended_ = true;
    }
    return !ended_;
  }
  std::vector<std::string> times() {
    std::vector<std::string> t;
    for (const auto& r : records()) t.push_back(r.substr(11, 4));
    return t;
  }
  Line line_;
  bool ended_ = false;
};

TEST_F(VortexTest, TimesSpreadEvenlyOverTheProfile) {
  ASSERT_TRUE(run({data("0010"), data("1105"), data("2480"), "OB 07 AT 1800 AT 1830", data("3110"),
                   data("4880"), "OB 08 AT 1850 AT 1910", "NNNN"}));
  EXPECT_EQ(times(), (std::vector<std::string>{"1810", "1820", "1830", "1900", "1910"}));
}

TEST_F(VortexTest, EndTimeOnTheNextLineAndAcrossMidnight) {
  ASSERT_TRUE(run({data("0010"), data("1105"), "OB 09 AT 2350", "SFC WND 09012 AT 0000",
                   "OB 09 AT 0010", "NNNN"}));
  // The SFC line is passed over; the end time comes from the next "AT".
  EXPECT_EQ(times(), (std::vector<std::string>{"   0", "  10"}));
}

TEST_F(VortexTest, HeightAndTemperatureCodes) {
  ASSERT_TRUE(run({data("0010", "5560"), data("4880"), data("2///", "////"), data("9480"),
                   "OB 10 AT 1800 AT 1840", "NNNN"}));
  const auto recs = records();
  ASSERT_EQ(recs.size(), 4u);
  EXPECT_EQ(recs[0].substr(32, 28), "1070.0   -5.0   68.0  1010.0");  // sea-level pressure 1010
  EXPECT_EQ(recs[1].substr(32, 6), " 500.0");
  EXPECT_EQ(recs[1].substr(53, 7), " 5880.0");
  // Unreadable height and temperature stay missing, and so does the humidity.
  EXPECT_EQ(recs[2].substr(32, 28), " 850.0  -99.0  -99.0   -99.0");
  // A surface code outside 0-5 leaves the pressure missing.
  EXPECT_EQ(recs[3].substr(32, 28), " -99.0   28.0  -99.0   480.0");
}

TEST_F(VortexTest, AbandonedLineKeepsItsTimeSlot) {
  ASSERT_TRUE(run({data("0010"), data("1105", "2723", "10///"), data("2480"), "OB 07 AT 1800 AT 1830",
                   "NNNN"}));
  EXPECT_EQ(times(), (std::vector<std::string>{"1810", "1830"}));
}

TEST_F(VortexTest, AProfileHoldsTenLevels) {
  std::vector<std::string> lines;
  for (int k = 0; k < 11; ++k) lines.push_back(data(k < 10 ? "3110" : "4880"));
  lines.insert(lines.end(), {"OB 07 AT 1800 AT 1810", "NNNN"});
  ASSERT_TRUE(run(lines));
  const auto recs = records();
  ASSERT_EQ(recs.size(), 10u);
  EXPECT_EQ(recs[0].substr(11, 4), "1801");
  EXPECT_EQ(recs[9].substr(11, 4), "1810");
  for (const auto& r : recs) EXPECT_EQ(r.substr(32, 6), " 700.0");  // the eleventh never stored
}

TEST_F(VortexTest, RemarksAndLinesWithoutTimeAreNotDecoded) {
  ASSERT_TRUE(run({data("0010"), "REM SONDE OB 07 AT 1700 AT 1705", "MF OB AT 1710 AT 1715",
                   "OB 07 NO TIME", "", "OB 07 AT 1800 AT 1830", "NNNN"}));
  EXPECT_EQ(times(), (std::vector<std::string>{"1830"}));
}

TEST_F(VortexTest, NNNNDropsAnOpenGroup) {
  ASSERT_TRUE(run({data("0010"), "OB 07 AT 1800 AT 1830", data("1105"), "NNNN", "URNT14 KNHC 311900"}));
  EXPECT_EQ(times(), (std::vector<std::string>{"1830"}));
  EXPECT_EQ(line_.trimmed(), "NNNN");
}

TEST_F(VortexTest, EndOfInputEndsTheProgramAfterTheClosedGroups) {
  EXPECT_FALSE(run({data("0010"), "OB 07 AT 1800 AT 1830", data("1105")}));
  EXPECT_EQ(times(), (std::vector<std::string>{"1830"}));
}

}  // namespace
}  // namespace recon
