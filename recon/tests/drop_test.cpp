// Dropsonde message decoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "recon/recon.hpp"
#include "recon/tests/message_fixture.hpp"

namespace recon {
namespace {

// Part A of a sonde dropped from 700 hPa: speeds in knots (day 51), hour 00,
// winds down to 700 hPa; surface 1010 hPa with a wind group.
const std::string kIdA = "XXAA  51007 99253 70850 13004 99010 27458 00510 00062 26860 02010";
const std::string kLevelsA = "92740 25259 05515 85475 22456 05515 70105 13061 17014 88999 77999";

class DropTest : public testing::MessageTest {
 protected:
  // Runs `drop` over the message lines; returns the written records.
  std::vector<std::string> decode(const std::vector<std::string>& lines, std::int32_t positioned = 1,
                                  std::int32_t year = 26, std::int32_t month = 8,
                                  std::int32_t reference_day = 25) {
    feed(lines);
    if (positioned == 1) {
      EXPECT_EQ(read_message_line(line_), 0);
    }
    drop(kOutUnit, 2, positioned, year, month, reference_day, line_);
    return records();
  }

  // "pressure tag" of every record, the sorted sounding in short.
  static std::vector<std::string> summary(const std::vector<std::string>& recs) {
    std::vector<std::string> s;
    for (const auto& r : recs) s.push_back(r.substr(32, 6) + " " + r.substr(74, 4));
    return s;
  }

  Line line_;
};

TEST_F(DropTest, FindsTheIdentificationLineAndStopsAtTheFirstUndecodedSection) {
  const auto recs = decode({"UZNT13 KNHC 010041", kIdA, kLevelsA, "31313 09608 82330",
                            "61616 NOAA2 0913A KAREN OB 10", "XXBB  51008 99253 70850 13004 00010 27458",
                            "21212 00010 00510", "31313 09608 82330", "61616 NOAA2 0913A KAREN OB 10",
                            "62626 SPL 2535N08827W 2330 ="},
                           0);
  EXPECT_EQ(summary(recs),
            (std::vector<std::string>{"1070.0 MANL", "1010.0 SIGL", "1010.0 SIGL", "1000.0 MANL",
                                      " 925.0 MANL", " 850.0 MANL", " 700.0 MANL"}));
  // Launched 2330 on the day before the message's nominal 0000 of the 1st
  // (day 1 before reference day 25: September); no splash position, so the
  // identification-line position stays.
  EXPECT_EQ(recs[0].substr(0, 31), " 2 260831. 2330  25.300  85.000");
  EXPECT_EQ(line_.trimmed(), "61616 NOAA2 0913A KAREN OB 10");
  EXPECT_EQ(next_message_line(), "62626 SPL 2535N08827W 2330 =");
}

TEST_F(DropTest, MissingLevelsAndGroups) {
  // No 925 hPa level; no surface wind group (the 00062 group after the
  // surface temperature is the 1000 hPa level); no tropopause, no maximum wind.
  const auto recs = decode({"XXAA  51007 99253 70850 13004 99010 27458 00062 26860 02010 85475",
                            "22456 05515 70105 13061 17014 88999 77999"});
  EXPECT_EQ(summary(recs), (std::vector<std::string>{"1070.0 MANL", "1000.0 MANL", " 850.0 MANL", " 700.0 MANL"}));
  EXPECT_EQ(recs[0].substr(53, 20), " 1010.0 -99.0  -99.0");  // surface: no wind
  EXPECT_EQ(recs[1].substr(53, 20), "   62.0  -1.8   -4.8");  // 020 degrees, 10 knots
  EXPECT_EQ(recs[2].substr(53, 7), " 1475.0");
}

TEST_F(DropTest, DayAbove50MeansKnotsAndLateDaysRollIntoTheNextYear) {
  // Day 01 in m/s, before reference day 28 of December 99: 1 January 00.
  const auto recs = decode({"XXAA  01127 99253 70850 13004 99010 27458 00062 26860 02010 88999",
                            "77999"},
                           1, 99, 12, 28);
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[1].substr(0, 15), " 2    101. 1200");
  EXPECT_EQ(recs[1].substr(60, 13), "  -3.4   -9.4");  // 020 degrees, 10 m/s
}

TEST_F(DropTest, TropopauseAndMaximumWind) {
  const auto recs = decode({"XXAA  81122 99285 70701 13004 99012 28056 09510 00105 27856 09512",
                            "88172 67158 23550 77210 23055 40011"});
  EXPECT_EQ(summary(recs),
            (std::vector<std::string>{"1070.0 MANL", "1000.0 MANL", " 210.0 MWND", " 172.0 TROP"}));
  EXPECT_EQ(recs[3].substr(39, 21), " -67.1   34.6   -99.0");
}

TEST_F(DropTest, SignificantWindLevelsSkipMissingOnesAndWrapTheSequence) {
  const auto recs = decode({kIdA, kLevelsA, "XXBB  51008 99253 70850 13004 21212 00010 00510 11985 05515 22850",
                            "05515 33700 17014 44650 17516 55600 18018 66550 19020 77/// /////",
                            "88500 20025 99450 21030 11400 22035", "31313 09608 81205",
                            "61616 NOAA2 0913A KAREN OB 10"});
  std::vector<std::string> sig;
  for (const auto& s : summary(recs)) {
    if (s.substr(7) == "SIGL") sig.push_back(s.substr(0, 6));
  }
  EXPECT_EQ(sig, (std::vector<std::string>{"1010.0", " 985.0", " 850.0", " 700.0", " 650.0", " 600.0",
                                           " 550.0", " 500.0", " 450.0", " 400.0"}));
  EXPECT_EQ(recs[0].substr(11, 4), "1205");
}

TEST_F(DropTest, SignificantTemperatureLevelsNeedTheSequenceFrom00) {
  const auto recs = decode({kIdA, kLevelsA, "XXBB  51008 99253 70850 13004 11850 22456 22700 13061",
                            "21212 00010 00510"});
  for (const auto& s : summary(recs)) EXPECT_NE(s.substr(7), "SIGL") << s;
}

TEST_F(DropTest, LaunchTimeAndAdditionalDataOnOneLine) {
  const auto recs = decode({kIdA, kLevelsA, "XXBB  51008 99253 70850 13004 00010 27458",
                            "31313 09608 81205 51515 10164 00064 10190 00062 10190 85475"});
  const auto s = summary(recs);
  EXPECT_EQ(std::count(s.begin(), s.end(), "1000.0 ADDL"), 1);
  EXPECT_EQ(std::count(s.begin(), s.end(), " 850.0 ADDL"), 1);
  for (const auto& r : recs) EXPECT_EQ(r.substr(11, 4), "1205");
}

TEST_F(DropTest, RemarkGivesSplashPositionAndDeepLayerMeanWind) {
  const auto recs = decode(
      {kIdA, kLevelsA, "62626 SPL 2535N08827W 2330 DLM WND 15515 010701 WL150 07511 083 =", "NNNN"});
  ASSERT_FALSE(recs.empty());
  // No launch time: the records keep the message's date and time.
  EXPECT_EQ(recs[0], " 2 260901.    0  25.350  88.270 1099.0  -99.0  -99.0   855.5  -3.3    7.0 DLMW");
  for (const auto& r : recs) EXPECT_EQ(r.substr(16, 15), " 25.350  88.270");
}

TEST_F(DropTest, RemarkWithoutEndBeforeTheEndOfInputIsNotUsed) {
  const auto recs = decode({kIdA, kLevelsA, "62626 SPL 2535N08827W 2330 DLM WND 15515 010701"});
  EXPECT_EQ(summary(recs).front(), "1070.0 MANL");
  EXPECT_EQ(recs[0].substr(16, 15), " 25.300  85.000");
}

TEST_F(DropTest, LongRemarkIsCutAt200Characters) {
  const std::string filler = "WL150 07511 083 MBL WND 07012 AEV 20801 LST WND 012 REMARKS CONT";
  const auto recs = decode({kIdA, kLevelsA, "62626 SPL 2535N08827W 2330 " + filler.substr(0, 38), filler,
                            filler, "END DLM WND 15515 010701 =",
                            "XXBB  51008 99253 70850 13004 00010 27458"});
  const auto s = summary(recs);
  EXPECT_EQ(std::count(s.begin(), s.end(), "1099.0 DLMW"), 0);  // past character 200
  EXPECT_EQ(std::count(s.begin(), s.end(), "1010.0 SIGL"), 1);  // part B still decoded
  EXPECT_EQ(recs[0].substr(16, 15), " 25.350  88.270");
}

TEST_F(DropTest, UnknownWindIndicatorTakesAWindGroupAtEveryLevel) {
  const auto recs = decode({"XXAA  51006 99253 70850 13004 99010 27458 00510 00062 26860 02010",
                            kLevelsA});
  EXPECT_EQ(summary(recs), (std::vector<std::string>{"1070.0 MANL", "1000.0 MANL", " 925.0 MANL",
                                                     " 850.0 MANL", " 700.0 MANL"}));
  EXPECT_EQ(recs[4].substr(53, 20), " 3105.0  -1.3    7.1");
}

TEST_F(DropTest, EndOfBulletinAfterTemperatureLevelsStillWritesTheSounding) {
  const auto recs =
      decode({kIdA, kLevelsA, "XXBB  51008 99253 70850 13004 00010 27458 11850 22456", "NNNN"});
  EXPECT_EQ(recs.size(), 7u);
}

TEST_F(DropTest, TruncatedMessageMakesNoLevelsFromBlankColumns) {
  const auto recs = decode({kIdA, kLevelsA, "XXBB  51008 99253 70850 13004 21212 00010 00510 11985"});
  const auto s = summary(recs);
  EXPECT_EQ(std::count(s.begin(), s.end(), "1010.0 SIGL"), 1);
  EXPECT_EQ(std::count(s.begin(), s.end(), " 985.0 SIGL"), 0);  // its wind never came
  EXPECT_EQ(std::count(s.begin(), s.end(), "1000.0 SIGL"), 0);  // nothing from blanks
}

}  // namespace
}  // namespace recon
