// Format-directed records: output editing, record assembly, input editing
// and the end-of-data rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <variant>

#include "records/records.hpp"
#include "records/tests/test_support.hpp"

namespace {

using rec::testing::ScratchDir;
using rec::testing::slurp;
using rec::testing::spit;

// ---- One field written into a text record of exactly its width -------------

struct FieldCase {
  const char* layout;
  std::variant<std::int32_t, float, double> value;
  const char* expected;
};

class OutputField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(OutputField, Edits) {
  const FieldCase& c = GetParam();
  std::string buf(std::string(c.expected).size(), '?');
  const int st = std::visit(
      [&](const auto& v) { return rec::write_text(std::span<char>(buf), c.layout, {v}); }, c.value);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(buf, c.expected) << c.layout;
}

INSTANTIATE_TEST_SUITE_P(
    Table, OutputField,
    ::testing::Values(
        FieldCase{"(F7.3)", 25.5, " 25.500"}, FieldCase{"(F7.3)", -80.25, "-80.250"},
        FieldCase{"(F7.3)", 0.5, "  0.500"},
        // A negative value that rounds to zero carries no sign.
        FieldCase{"(F7.3)", -0.0004, "  0.000"}, FieldCase{"(F7.3)", -0.0, "  0.000"},
        FieldCase{"(F7.3)", 1234.5, "*******"},
        // Exact ties go to the even digit.
        FieldCase{"(F4.0)", 12.5, " 12."}, FieldCase{"(F4.0)", 13.5, " 14."},
        FieldCase{"(F5.2)", 0.125, " 0.12"}, FieldCase{"(F3.0)", 2.5, " 2."},
        FieldCase{"(F3.0)", -0.5, " 0."}, FieldCase{"(F4.1)", -0.5, "-0.5"},
        FieldCase{"(F4.0)", 0.3, "  0."}, FieldCase{"(F4.0)", 999.7, "****"},
        // One column short: the 0 before the point goes.
        FieldCase{"(F4.3)", 0.5, ".500"}, FieldCase{"(F5.3)", -0.5, "-.500"},
        FieldCase{"(F6.1)", -12.25, " -12.2"},
        // Single precision is widened exactly before editing.
        FieldCase{"(F12.9)", 0.1f, " 0.100000001"},
        FieldCase{"(I2.2)", 5, "05"}, FieldCase{"(I2.2)", 0, "00"}, FieldCase{"(I2.2)", -5, "**"},
        FieldCase{"(I3.3)", 7, "007"}, FieldCase{"(I2)", 123, "**"}, FieldCase{"(I2)", -5, "-5"},
        FieldCase{"(I4)", 0, "   0"}, FieldCase{"(I11)", INT32_MIN, "-2147483648"},
        FieldCase{"(D12.3)", 1234.5, "   0.123E+04"}, FieldCase{"(D12.3)", -0.000123456, "  -0.123E-03"},
        FieldCase{"(D8.3)", 1234.5, ".123E+04"}, FieldCase{"(D7.3)", 1234.5, "*******"},
        FieldCase{"(D10.3)", 0.0, " 0.000E+00"}, FieldCase{"(d10.3)", 0.99951, " 0.100E+01"}));

// ---- Whole records on a channel ---------------------------------------------

class ChannelRecords : public ::testing::Test {
 protected:
  ScratchDir dir_;
  std::string written() {
    rec::close(20);
    return slurp("out.txt");
  }
  void SetUp() override { ASSERT_EQ(rec::open(20, "out.txt", "UNKNOWN"), 0); }
};

TEST_F(ChannelRecords, RepeatedDescriptorsAndPendingMoves) {
  const float lat = 25.5f, lon = -80.25f;
  rec::write(20, "(2F7.3)", {lat, lon});
  rec::write(20, "(2F7.3)", {lat});                  // second repetition never used
  rec::write(20, "(2F7.3,1X,A1)", {lat, lon});       // the 1X is pending, nothing follows
  rec::write(20, "(2F7.3,1X,A1)", {lat, lon, "T"});
  EXPECT_EQ(written(), " 25.500-80.250\n 25.500\n 25.500-80.250\n 25.500-80.250 T\n");
}

TEST_F(ChannelRecords, QuotedTextMovesAndTabs) {
  const float t = 12.25f;
  rec::write(20, "(1X,' #      LAT      LON      RAD/AZM    TIME',/,'        (d m)    (d m)     (nm/dg)   (h:mm)')");
  rec::write(20, "('0 === SPLARGO DONE ===',T91,'ELAPSED TIME=',F10.4)", {t});
  rec::write(20, "(\"turns\",I1.1,\".txt\")", {3});
  rec::write(20, "('it''s',\"a \"\"b\"\" (c,d)\")");
  const std::int32_t n = 5;
  rec::write(20, "('**      LINEAR DATA POINT ARRAY  ',I3,' POINTS WITH','  POINTS ON BOUNDARIES  ')", {n});
  const std::string expected = "  #      LAT      LON      RAD/AZM    TIME\n"
                               "        (d m)    (d m)     (nm/dg)   (h:mm)\n"
                               "0 === SPLARGO DONE ===" + std::string(68, ' ') + "ELAPSED TIME=   12.2500\n"
                               "turns3.txt\n"
                               "it'sa \"b\" (c,d)\n"
                               "**      LINEAR DATA POINT ARRAY    5 POINTS WITH  POINTS ON BOUNDARIES  \n";
  EXPECT_EQ(written(), expected);
}

TEST_F(ChannelRecords, GroupsRepeatAndRevert) {
  const std::int32_t kp = 2;
  const float y1 = 1.5f, f1 = 0.25f, y2 = 2.5f, f2 = -0.5f;
  // Reversion resumes at the last top-level group; "/" then reversion leaves
  // an empty record each time.
  rec::write(20, "(' .......NODAL AMPLITUDES   KP=',I3,/,(10X,F6.1,F13.8,/))", {kp, y1, f1, y2, f2});
  rec::write(20, "(/)");
  rec::write(20, "(1X,72('='),/)");
  rec::write(20, "(2(I4,1X,I2.2,2X),'|')", {25, 47, 80, 3});
  EXPECT_EQ(written(), " .......NODAL AMPLITUDES   KP=  2\n"
                       "             1.5   0.25000000\n\n"
                       "             2.5  -0.50000000\n\n"
                       "\n\n" +
                           (" " + std::string(72, '=') + "\n\n") + "  25 47    80 03  |\n");
}

TEST_F(ChannelRecords, ReversionSkipsInnerGroups) {
  std::vector<double> v(6);
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<double>(i) + 0.5;
  rec::write(20, "(/,/,(2(1X,2F5.1,/),/))", {std::span<const double>(v)});
  // The group's own "/" and the reversion each end a record, so two empty
  // records stand between the blocks; the statement ends on the pending 1X.
  EXPECT_EQ(written(), "\n\n   0.5  1.5\n   2.5  3.5\n\n\n   4.5  5.5\n\n");
}

TEST_F(ChannelRecords, RepeatedRecordMarks) {
  rec::write(20, "('a',3/,'b')");
  rec::write(20, "(2(I1,2/))", {1, 2});
  EXPECT_EQ(written(), "a\n\n\nb\n1\n\n2\n\n\n");
}

TEST_F(ChannelRecords, ArraysOfTextAndStatementsBuiltInALoop) {
  const rec::FixedText<3> names[2] = {rec::FixedText<3>("AB"), rec::FixedText<3>("CDE")};
  rec::write(20, "(2(A,'|'),A2,A4)", {std::span<const rec::FixedText<3>>(names), "XYZ", "XYZ"});
  auto st = rec::Statement::write(20, "(3I3)");
  for (std::int32_t i = 1; i <= 3; ++i) st.put(i);
  EXPECT_EQ(st.finish(), 0);
  EXPECT_EQ(written(), "AB |CDE|XY XYZ\n  1  2  3\n");
}

// ---- Text records --------------------------------------------------------------

TEST(TextRecord, WholeVariableIsRewritten) {
  rec::FixedText<12> name = "current .ftk";
  rec::write_text(name.field(8, 1), "(i1)", {4});
  EXPECT_EQ(name.view(), "current4.ftk");
  rec::FixedText<12> file = "xxxxxxxxxxxx";
  rec::write_text(file, "(\"turns\",I1.1,\".txt\")", {3});
  EXPECT_EQ(file.view(), "turns3.txt  ");
  rec::FixedText<2> two;
  rec::write_text(two, "(i2.2)", {7});
  EXPECT_EQ(two.view(), "07");
  // Characters past the end are dropped without error...
  rec::FixedText<4> four;
  EXPECT_EQ(rec::write_text(four, "(I6)", {123456}), 0);
  EXPECT_EQ(four.view(), "1234");
  // ...but a move whose target lies past the end fails.
  EXPECT_EQ(rec::write_text(four, "(4X,I1)", {1}, rec::kErrExit), rec::kOffEndOfRecord);
  EXPECT_EQ(rec::write_text(four, "(4X)", {}, rec::kErrExit), 0);  // nothing follows the move
}

// ---- Input editing --------------------------------------------------------------

struct InputCase {
  const char* layout;
  const char* text;
  double expected;  // ignored when status is non-zero
  int status;
};

class InputField : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputField, Reads) {
  const InputCase& c = GetParam();
  double d = -1;
  float f = -1;
  std::int32_t i = -1;
  const std::string_view layout = c.layout;
  const bool integer = layout.find_first_of("Ii") != std::string_view::npos;
  const int st = integer ? rec::read_text(c.text, c.layout, {i}, rec::kErrEndExit)
                         : rec::read_text(c.text, c.layout, {d}, rec::kErrEndExit);
  EXPECT_EQ(st, c.status) << c.layout << " [" << c.text << "]";
  if (c.status == 0) {
    EXPECT_EQ(integer ? static_cast<double>(i) : d, c.expected) << c.layout << " [" << c.text << "]";
    if (!integer) {
      rec::read_text(c.text, c.layout, {f});
      EXPECT_EQ(f, static_cast<float>(c.expected));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, InputField,
    ::testing::Values(
        InputCase{"(f3.1)", "123", 12.3, 0}, InputCase{"(f3.1)", " 5 ", 0.5, 0},
        InputCase{"(f3.1)", "1.5", 1.5, 0}, InputCase{"(f3.1)", "   ", 0.0, 0},
        InputCase{"(f3.1)", "", 0.0, 0},  // an empty record reads as zero
        InputCase{"(f3.0)", "///", 0, 115}, InputCase{"(f2.0)", "05", 5.0, 0},
        InputCase{"(f5.0)", "1.5-3", 0.0015, 0}, InputCase{"(f6.2)", "15e 2", 15.0, 0},
        InputCase{"(f4.1)", "1.5E", 0, 115}, InputCase{"(F7.3)", " -80.25", -80.25, 0},
        InputCase{"(f3.1)", "1 2", 1.2, 0},  // blanks inside are ignored
        InputCase{"(f5.1)", "12,99", 1.2, 0},  // a comma ends the field
        InputCase{"(f4.1)", "1.2.", 0, 115},
        InputCase{"(i2)", " 7", 7, 0}, InputCase{"(i2)", "7 ", 7, 0}, InputCase{"(i2)", "-3", -3, 0},
        InputCase{"(i2)", "1,", 1, 0}, InputCase{"(i2)", "a1", 0, 115}, InputCase{"(i3)", "5.", 0, 115},
        InputCase{"(i3.2)", "+42", 42, 0}, InputCase{"(i2)", "1-", 0, 115}));

TEST(InputRecord, CharacterFieldsAndSkips) {
  // Station number from columns 3-7, 62 marks from columns 53-114.
  std::string record(130, ' ');
  record.replace(2, 5, "72201");
  for (int k = 0; k < 62; ++k) record[static_cast<std::size_t>(52 + k)] = (k % 2 == 0) ? 'X' : '.';
  std::int32_t station = 0;
  char marks[62];
  ASSERT_EQ(rec::read_text(record, "(2X,I5,45X,62A1)", {station, rec::Into::chars(marks)}), 0);
  EXPECT_EQ(station, 72201);
  EXPECT_EQ(std::string(marks, 3), "X.X");
  EXPECT_EQ(marks[61], '.');

  rec::FixedText<1> code;
  rec::FixedText<20> text;
  ASSERT_EQ(rec::read_text("H MIAMI", "(A1,1X,A)", {code, text}), 0);
  EXPECT_EQ(code.view(), "H");
  EXPECT_EQ(text.view(), "MIAMI               ");
  // Aw wider than the item keeps the field's last characters.
  rec::FixedText<3> tail;
  ASSERT_EQ(rec::read_text("ABCDE", "(A5)", {tail}), 0);
  EXPECT_EQ(tail.view(), "CDE");
}

// ---- Reading record files -------------------------------------------------------

TEST(ChannelInput, RecordsAndEndOfData) {
  ScratchDir dir;
  const std::string long_line(100, 'a');
  spit("in.txt", long_line + "\nH MIAMI\nH MIAMI");
  ASSERT_EQ(rec::open(21, "in.txt", "old"), 0);
  rec::FixedText<80> line;
  ASSERT_EQ(rec::read(21, "(a)", {line}), 0);
  EXPECT_EQ(line.view(), long_line.substr(0, 80));
  rec::FixedText<1> code;
  rec::FixedText<20> text;
  EXPECT_EQ(rec::read(21, "(A1,1X,A)", {code, text}, rec::kEndExit), 0);
  // The same seven characters without a line-feed meet the end of the file.
  EXPECT_EQ(rec::read(21, "(A1,1X,A)", {code, text}, rec::kEndExit), rec::kEndOfFile);
  EXPECT_EQ(rec::read(21, "(A1)", {code}, rec::kEndExit), rec::kEndOfFile);
}

TEST(ChannelInput, ShortLastLineWithoutLineFeedIsReadThenEndsTheFile) {
  ScratchDir dir;
  spit("in.txt", "12 34");
  ASSERT_EQ(rec::open(21, "in.txt", "OLD"), 0);
  std::int32_t a = 0, b = 0;
  EXPECT_EQ(rec::read(21, "(I2,1X,I2)", {a, b}, rec::kEndExit), 0);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 34);
  EXPECT_EQ(rec::read(21, "(I2)", {a}, rec::kEndExit), rec::kEndOfFile);
}

TEST(ChannelInput, ValueReadSoFarIsKeptOnFailure) {
  std::int32_t v = 0;
  EXPECT_EQ(rec::read_text("12x4", "(I4)", {v}, rec::kErrExit), rec::kUnexpectedCharacter);
  EXPECT_EQ(v, 12);
}

TEST(Layouts, TextsThatDoNotParse) {
  for (const char* bad : {"", "I3", "(I3", "(Q3)", "(F7)", "(I0)", "('abc)", "(3'x')", "(0X)"}) {
    std::int32_t v = 1;
    EXPECT_EQ(rec::read_text("1", bad, {v}, rec::kErrExit), rec::kErrorInFormat) << bad;
  }
  // Repeat counts multiplied out past 65536 characters or steps in one pass
  // (a statement that would run for hours or fill memory before its first
  // item) are no layout; one just inside the bound still runs.
  std::string slashes = "(";
  for (int k = 0; k < 500; ++k) slashes += "32767/,";
  slashes += "I1)";
  for (const std::string& huge : {std::string("(32767(32767(32767(1X))))"), std::string("(9999(9999('a')))"),
                                  std::string("(3(32767X),'a')"), std::string("(300(300(I1)))"), slashes}) {
    std::string out(8, '?');
    EXPECT_EQ(rec::write_text(std::span<char>(out), huge, {}, rec::kErrExit), rec::kErrorInFormat) << huge;
  }
  std::string line(8, '?');
  EXPECT_EQ(rec::write_text(std::span<char>(line), "(200(100('')),'ok')", {}, rec::kErrExit), 0);
  EXPECT_EQ(line, "ok      ");
  // Case and blanks do not matter.
  float a = 0, b = 0;
  EXPECT_EQ(rec::read_text("  1.000  2.000", "( f 7 . 3 , 1 x , F6.3 )", {a, b}), 0);
  EXPECT_EQ(a, 1.0f);
  EXPECT_EQ(b, 2.0f);
}

}  // namespace
