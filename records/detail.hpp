// Internals of the record layer shared by the layout interpreter, the
// free-form reader and writer and the channel table. Not for other
// subsystems: they use records.hpp.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.hpp"

namespace rec::detail {

// ---- Numeric editing (numeric.cpp) ---------------------------------------

// Output fields: append exactly `w` characters to `out`.
void edit_int(std::string& out, std::int32_t v, int w, int m);  // m < 0: plain Iw
void edit_fixed(std::string& out, double x, int w, int d);      // Fw.d
void edit_exp(std::string& out, double x, int w, int d);        // Dw.d
// Free-form text of a real: leading blank, sign or blank, the number.
void list_real(std::string& out, double x);

// A real cut towards zero to a 32-bit integer; out of range (and NaN) gives
// the most negative value, which any narrow field shows as asterisks.
std::int32_t whole_part(double x);
// Stores a number read from text into an item of any numeric kind.
void store_number(Kind kind, void* p, double value, std::int32_t ivalue, bool is_int);
// Bytes from one array element to the next.
std::size_t item_stride(Kind kind, std::size_t length);

// Decimal digits gathered from input text, turned into a value once.
struct DecimalText {
  bool negative = false;
  std::string digits;          // significant digits only (at most 40)
  long long exponent10 = 0;    // value = digits x 10^exponent10
  bool any_digit = false;      // a digit (even a zero) was seen
  void add_digit(char c, bool after_point);
  double value() const;        // nearest double
};

// ---- Layouts (layout.cpp) --------------------------------------------------

enum class Op : std::uint8_t { I, F, D, A, X, T, Slash, Lit, Begin, End };

struct Step {
  explicit Step(Op o) : op(o) {}
  Op op;
  bool synthetic = false;  // a Begin/End made for a repeated data descriptor
  int w = 0;               // width (A: -1 for plain A); X: n; T: column
  int d = -1;              // F/D: digits; I: minimum digits (-1 none)
  int repeat = 1;          // Begin: repeat count
  int match = 0;           // Begin: index of its End; End: index of its Begin
  std::string lit;         // quoted text
};

struct RecordLayout {
  std::string text;        // the layout through its closing parenthesis
  std::vector<Step> steps; // steps[0] is the outer Begin, steps.back() its End
  int reversion = 0;       // index of the Begin where reversion resumes
  bool has_data = false;
};

// Compiles a layout; nullptr when it does not parse. Cached by text.
std::shared_ptr<const RecordLayout> compile(std::string_view text);

// ---- Channels (channels.cpp) -------------------------------------------------

// What the failure report says about the statement that failed.
struct ReportInfo {
  bool internal = false;       // text record instead of a channel
  int unit = 0;                // negative: no state line
  std::string_view name;       // empty: "(unnamed)"
  std::string_view layout;     // empty: no layout line
  bool reading = false;
  bool opening = false;
};

[[noreturn]] void failure_report(int code, std::string_view context, const ReportInfo& info);
// Returns `code` when the statement has the matching exit; otherwise reports.
int fail(int code, std::string_view context, const ReportInfo& info, Exits exits);

// Marks returned by Channel::at().
inline constexpr int kEndOfRecord = -2;  // the record ended (reads as a blank)
inline constexpr int kEndOfData = -3;    // the file ended

class Channel {
 public:
  int fd = -1;
  bool is_std = false;
  bool regular = false;
  std::string name;
  bool written = false;
  bool eof = false;
  dev_t dev = 0;
  ino_t ino = 0;

  // Output: records are appended to `wbuf`, flushed in blocks.
  std::string wbuf;
  // Input: a block buffer and the current record.
  std::string rbuf;
  std::size_t rpos = 0;
  bool reading_mode = false;
  std::string record;
  bool record_has_lf = false;

  bool connected() const { return fd >= 0; }
  // Fetches the next record into `record`; at end of data the record is
  // empty and has no line-feed.
  void next_record();
  // Character `i` (0-based) of the current record, or a mark.
  int at(std::size_t i) const {
    if (i < record.size()) return static_cast<unsigned char>(record[i]);
    return record_has_lf ? kEndOfRecord : kEndOfData;
  }
  // Called before output: leaves read mode, positions the file.
  void prepare_write();
  // Ends one output record: appends the line-feed, flushes when due.
  void end_record();
  // Writes the output buffer; returns 0 or an errno value.
  int flush();
};

class ChannelTable {
 public:
  static constexpr int kChannels = 100;
  static ChannelTable& instance();

  int open(int unit, std::string_view name, std::string_view status, Exits exits);
  void close(int unit);
  void close_all();
  void reset();
  // The connected channel `unit`; an unconnected one is first opened on the
  // file fort.<unit> under UNKNOWN (failures report).
  Channel& ensure(int unit, bool reading, std::string_view layout);
  Channel* find(int unit);

 private:
  ChannelTable();
  void connect_standard();
  Channel channels_[kChannels];
};

[[noreturn]] void end_program(Ending how);

}  // namespace rec::detail
