#include "records/fixed_text.hpp"

#include <gtest/gtest.h>

namespace {

using rec::FixedText;

TEST(FixedText, AssignmentCutsOrPads) {
  FixedText<5> t = "AB";
  EXPECT_EQ(t.view(), "AB   ");
  t = "ABCDEFG";
  EXPECT_EQ(t.view(), "ABCDE");
  FixedText<8> wide;
  wide = t;
  EXPECT_EQ(wide.view(), "ABCDE   ");
  EXPECT_EQ(wide.trimmed(), "ABCDE");
}

TEST(FixedText, ComparisonTreatsShorterOperandAsBlankPadded) {
  const FixedText<20> miami = "MIAMI";
  EXPECT_TRUE(miami == FixedText<5>("MIAMI"));
  EXPECT_TRUE(miami == std::string_view("MIAMI"));
  EXPECT_FALSE(miami == std::string_view(" MIAMI"));
  // Bytes compare unsigned: a character above 127 sorts after 'Z'.
  const FixedText<1> high = std::string_view("\xE9", 1);
  EXPECT_TRUE(FixedText<1>("Z") < high);
  // A blank-padded shorter text sorts before a longer one with a letter.
  EXPECT_TRUE(FixedText<3>("AB") < FixedText<4>("AB A"));
}

TEST(FixedText, ColumnsCountFromOne) {
  FixedText<10> t = "turns3.txt";
  EXPECT_EQ(t.columns(6, 1), "3");
  t.field(1, 5)[0] = 'T';
  EXPECT_EQ(t.view(), "Turns3.txt");
}

}  // namespace
