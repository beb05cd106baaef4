// Free-form records: the exact spacing and number text of list output, and
// reading numbers with separators, nulls, repeat counts and the slash.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>

#include "records/records.hpp"
#include "records/tests/test_support.hpp"

namespace {

using rec::testing::ScratchDir;
using rec::testing::slurp;

class ListOutput : public ::testing::Test {
 protected:
  ScratchDir dir_;
  void SetUp() override { ASSERT_EQ(rec::open(30, "list.txt", "NEW"), 0); }
  std::string written() {
    rec::close(30);
    return slurp("list.txt");
  }
};

struct ItemCase {
  std::variant<std::int32_t, float, double> value;
  const char* expected;
};

TEST_F(ListOutput, NumberTexts) {
  const ItemCase cases[] = {
      {5, " 5"},
      {-12, " -12"},
      {25.5, "  25.5"},
      {-80.25, " -80.25"},
      {0.0, "  0."},
      {-0.0, "  0."},
      {100.0, "  100."},
      {0.1f, "  0.100000001"},
      {29.97f, "  29.9699993"},
      {1.0e-5f, "  9.99999975E-06"},
      {1.0e-5, "  1.E-05"},
      {1234567890.0f, "  1.23456794E+09"},
      {123456789.0f, "  123456792."},
      {0.0001, "  0.0001"},
      {-1.5e300, " -1.5E+300"},
  };
  std::string expected;
  for (const ItemCase& c : cases) {
    std::visit([](const auto& v) { rec::write_list(30, {v}); }, c.value);
    expected += std::string(c.expected) + "\n";
  }
  EXPECT_EQ(written(), expected);
}

TEST_F(ListOutput, SpacingBetweenItems) {
  const float lat = 25.5f, lon = -80.25f;
  rec::write_list(30, {lat, lon, "H"});
  rec::write_list(30, {"UNKNOWN STATION: ", 72201});
  rec::write_list(30, {" OPEN OR READ OR CITY ERROR IN SUBROUTINE TRACK"});
  EXPECT_EQ(written(),
            "  25.5 -80.25H\n"
            " UNKNOWN STATION:  72201\n"
            "  OPEN OR READ OR CITY ERROR IN SUBROUTINE TRACK\n");
}

TEST_F(ListOutput, EightyColumnRule) {
  // Nine reals of 12 characters: the seventh would reach column 80 (72 + 12 >= 80).
  const double v[9] = {1.23456789, 1.23456789, 1.23456789, 1.23456789, 1.23456789,
                       1.23456789, 1.23456789, 1.23456789, 1.23456789};
  rec::write_list(30, {v});
  // Integers count digits only: after 78 columns a 1-digit integer still fits
  // (78 + 1 < 80) and ends in column 80; a 2-digit one starts a new record.
  const std::string text78(77, 'x');
  rec::write_list(30, {text78, 7});
  rec::write_list(30, {text78, 12});
  // A long text item is never split.
  const std::string text90(90, 'y');
  rec::write_list(30, {5, text90});
  std::string expected;
  for (int i = 0; i < 6; ++i) expected += "  1.23456789";
  expected += "\n  1.23456789  1.23456789  1.23456789\n";
  expected += " " + text78 + " 7\n";
  expected += " " + text78 + "\n 12\n";
  expected += " 5\n " + text90 + "\n";
  EXPECT_EQ(written(), expected);
}

// ---- Reading -------------------------------------------------------------------

TEST(ListInput, SeparatorsAndValues) {
  float a = -1, b = -1;
  ASSERT_EQ(rec::read_list("25.5 80.3           ", {a, b}), 0);
  EXPECT_EQ(a, 25.5f);
  EXPECT_EQ(b, 80.3f);
  a = b = -1;
  ASSERT_EQ(rec::read_list("25.5,80.3           ", {a, b}), 0);
  EXPECT_EQ(b, 80.3f);
  ASSERT_EQ(rec::read_list("\t-1.5e1 , 2D-1", {a, b}), 0);
  EXPECT_EQ(a, -15.0f);
  EXPECT_EQ(b, 0.2f);
  // A sign after the digits starts the exponent; the first comma separates,
  // the second stands for a null value that leaves the item unchanged.
  ASSERT_EQ(rec::read_list("1.5+2 ,,", {a, b}), 0);
  EXPECT_EQ(a, 150.0f);
  EXPECT_EQ(b, 0.2f);
}

struct ReadCase {
  const char* text;
  int status;
  std::int32_t expected[3];  // after the read; items start as 9
};

class ListIntegers : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ListIntegers, Reads) {
  const ReadCase& c = GetParam();
  std::int32_t v[3] = {9, 9, 9};
  EXPECT_EQ(rec::read_list(c.text, {v}, rec::kErrEndExit), c.status) << c.text;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(v[i], c.expected[i]) << c.text << " item " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListIntegers,
    ::testing::Values(ReadCase{"2*5,7", 0, {5, 5, 7}}, ReadCase{"2*,7", 0, {9, 9, 7}},
                      ReadCase{"+2*5 7", 0, {5, 5, 7}}, ReadCase{"3*1", 0, {1, 1, 1}},
                      ReadCase{"1,,3", 0, {1, 9, 3}}, ReadCase{"1 2 / 3", 0, {1, 2, 9}},
                      ReadCase{"/////", 0, {9, 9, 9}}, ReadCase{"1 2", -1, {1, 2, 9}},
                      ReadCase{"5. 1 2", 115, {9, 9, 9}}, ReadCase{"1 5E2 3", 115, {1, 9, 9}},
                      ReadCase{"0*5", 112, {9, 9, 9}}, ReadCase{"-2*5", 112, {9, 9, 9}},
                      ReadCase{"*5", 112, {9, 9, 9}}, ReadCase{"1 x", 112, {1, 9, 9}},
                      ReadCase{"1 2 3N", 0, {1, 2, 3}}));

TEST(ListInput, FailuresAndTheirCodes) {
  float a = -1, b = -1;
  // Letters where a number should start.
  EXPECT_EQ(rec::read_list("BARBADOS            ", {a, b}, rec::kErrExit), rec::kBadListInput);
  // 25.5 directly followed by N: the first item is read, the second fails.
  EXPECT_EQ(rec::read_list("25.5N", {a, b}, rec::kErrExit), rec::kBadListInput);
  EXPECT_EQ(a, 25.5f);
  // An exponent without digits, and one out of range.
  EXPECT_EQ(rec::read_list("1.5E ", {a}, rec::kErrExit), rec::kBadListInput);
  EXPECT_EQ(rec::read_list("1E999999999", {a}, rec::kErrExit), rec::kBadListInput);
  // End of the text with an error exit only is not caught: only an end exit is.
  EXPECT_EQ(rec::read_list("  42   ", {a, b}, rec::kEndExit), rec::kEndOfFile);
  EXPECT_EQ(a, 42.0f);
  // A slash alone leaves the item and succeeds.
  a = 3;
  EXPECT_EQ(rec::read_list("/////", {a}), 0);
  EXPECT_EQ(a, 3.0f);
}

TEST(ListInput, FortyDigitsAndSinglePrecisionRounding) {
  double d = 0;
  float f = 0;
  ASSERT_EQ(rec::read_list("0.1000000000000000000000000000000000000000999", {d}), 0);
  EXPECT_EQ(d, 0.1);
  ASSERT_EQ(rec::read_list("29.97", {f}), 0);
  EXPECT_EQ(f, 29.97f);
}

}  // namespace
