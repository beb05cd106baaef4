#include "stations/stations.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace stations {
namespace {

// Builds the 62 mark characters from a pattern repeated over the field.
std::array<char, kMarks> marks_of(std::string_view pattern, int count_x_pairs = 31) {
  std::array<char, kMarks> m{};
  m.fill(' ');
  for (int day = 0; day < count_x_pairs; ++day) {
    m[2 * day] = pattern[0];
    m[2 * day + 1] = pattern[1];
  }
  return m;
}

TEST(CountMarks, OddPositionsAre00UtcEvenAre12Utc) {
  struct Case {
    std::string pattern;  // characters at the odd and even position of each day
    int days;
    int n00, n12;
  };
  const Case cases[] = {
      {"X ", 31, 31, 0},  // every 00 UTC sounding, no 12 UTC one
      {" X", 31, 0, 31},
      {"XX", 15, 15, 15},
      {"xX", 20, 0, 20},  // lower case is not a mark
      {"/-", 31, 0, 0},   // neither is any other character
      {"  ", 31, 0, 0},
  };
  for (const Case& c : cases) {
    const MarkCounts got = count_marks(marks_of(c.pattern, c.days));
    EXPECT_EQ(got.n00, c.n00) << "'" << c.pattern << "' x " << c.days;
    EXPECT_EQ(got.n12, c.n12) << "'" << c.pattern << "' x " << c.days;
  }
}

TEST(CountMarks, LastDayUsesPositions61And62) {
  std::array<char, kMarks> m{};
  m.fill(' ');
  m[60] = 'X';
  m[61] = 'X';
  const MarkCounts got = count_marks(m);
  EXPECT_EQ(got.n00, 1);
  EXPECT_EQ(got.n12, 1);
}

TEST(ChooseList, ThresholdIsACountAbove14) {
  struct Case {
    int n00, n12, list;
  };
  const Case cases[] = {
      {15, 15, kList0012Unit}, {31, 31, kList0012Unit}, {14, 31, kList12Unit},
      {0, 15, kList12Unit},    {31, 0, kList00Unit},    {15, 14, kList00Unit},
      {14, 14, 0},             {0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(choose_list({c.n00, c.n12}), c.list) << c.n00 << "/" << c.n12;
  }
}

class StationTableTest : public ::testing::Test {
 protected:
  StationTable table_;  // large, but GoogleTest allocates fixtures on the heap
};

TEST_F(StationTableTest, LastRowOfADuplicatedStationWins) {
  table_.add("MIA", 72202, 2575, 8038);
  table_.add("KEY", 72201, 2455, 8178);
  table_.add("MIA", 72202, 2545, -8030);
  table_.build_index();
  EXPECT_EQ(table_.find(72202), 2);
  EXPECT_EQ(table_.find(72201), 1);
  EXPECT_EQ(table_.find(72203), -1);
  EXPECT_EQ(table_.find(-72202), -1);
}

TEST_F(StationTableTest, UnfilledPlacesHoldNoStation) {
  table_.add("KEY", 72201, 2455, 8178);
  table_.build_index();
  // A blank station field reads as 0, the value every unfilled place holds.
  EXPECT_EQ(table_.find(0), -1);

  table_.add("   ", 0, 100, 200);  // a row that does hold station 0
  table_.build_index();
  EXPECT_EQ(table_.find(0), 1);
}

TEST_F(StationTableTest, FullTableKeepsItsRowsAndRefusesMore) {
  for (int i = 0; i < kMaxStations; ++i) {
    ASSERT_TRUE(table_.add("AAA", 10000 + (i % 7000), i, -i));
  }
  EXPECT_FALSE(table_.add("ZZZ", 99999, 1, 1));
  table_.build_index();
  EXPECT_EQ(table_.nstn, kMaxStations);
  EXPECT_EQ(table_.find(99999), -1);
  // Station 10005 fills places 5, 7005 and 14005, station 16999 places 6999
  // and 13999: the last one counts.
  EXPECT_EQ(table_.find(10005), 14005);
  EXPECT_EQ(table_.find(16999), 13999);
}

}  // namespace
}  // namespace stations
