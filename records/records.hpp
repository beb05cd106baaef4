// The record layer: every line the toolkit reads or writes passes through here.
//
//  * Format-directed statements move items through a layout text such as
//    "(1X,I2,A1,2X,2(I4,1X,I2.2,2X))" into records on a numbered channel, or
//    into/out of a caller's fixed-length text (a "text record").
//  * Free-form statements write numbers and text with the fixed spacing of
//    list output, and read numbers from text records.
//  * Channels 0..99 connect to files; 0, 5 and 6 start connected to standard
//    error, input and output.
//
// Status of every statement: 0 on success, a positive failure code, or -1 at
// end of file. A statement returns a non-zero status only when the caller
// asked for the matching exit (`Exits`); otherwise the failure report is
// written to standard error and the program aborts. A statement that fails is
// abandoned at the failing item.
//
// Typical calls:
//   rec::write(7, "(1X,I2,A1,4X,A16)", {row, flag, name});
//   int st = rec::read_list(text, {lat, lon}, rec::kErrExit);
//   rec::write_text(fname, "(\"turns\",I1.1,\".txt\")", {track});
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "records/fixed_text.hpp"

namespace rec {

inline constexpr int kEndOfFile = -1;

// Failure codes a statement can return (the texts live with the report).
enum Code : int {
  kErrorInFormat = 100,
  kIllegalUnit = 101,
  kNullFileName = 107,
  kOffEndOfRecord = 110,
  kBadListInput = 112,
  kOutOfFreeSpace = 113,
  kUnexpectedCharacter = 115,
  kNewFileExists = 128,
};

// Which failures a statement handles itself instead of aborting.
struct Exits {
  bool err = false;  // positive failure codes
  bool end = false;  // end of file
};
inline constexpr Exits kNoExit{};
inline constexpr Exits kErrExit{true, false};
inline constexpr Exits kEndExit{false, true};
inline constexpr Exits kErrEndExit{true, true};

enum class Kind : std::uint8_t { integer, real32, real64, text };

// One item (or an array of items) to be written. Holds a pointer to the
// caller's value, so it must not outlive the statement.
class Item {
 public:
  Item(const std::int32_t& v) : kind_(Kind::integer), ptr_(&v) {}  // NOLINT
  Item(const float& v) : kind_(Kind::real32), ptr_(&v) {}          // NOLINT
  Item(const double& v) : kind_(Kind::real64), ptr_(&v) {}         // NOLINT
  Item(std::string_view text) : kind_(Kind::text), ptr_(text.data()), length_(text.size()) {}  // NOLINT
  Item(const std::string& text) : Item(std::string_view(text)) {}  // NOLINT
  template <std::size_t M>
  Item(const char (&s)[M]) : Item(std::string_view(s, M - 1)) {}  // NOLINT
  template <std::size_t N>
  Item(const FixedText<N>& t) : Item(t.view()) {}  // NOLINT
  // Arrays: each element is one item, in order.
  Item(std::span<const std::int32_t> a) : kind_(Kind::integer), ptr_(a.data()), count_(a.size()) {}  // NOLINT
  Item(std::span<const float> a) : kind_(Kind::real32), ptr_(a.data()), count_(a.size()) {}          // NOLINT
  Item(std::span<const double> a) : kind_(Kind::real64), ptr_(a.data()), count_(a.size()) {}         // NOLINT
  template <std::size_t N>
  Item(std::span<const FixedText<N>> a)  // NOLINT
      : kind_(Kind::text), ptr_(a.data()), count_(a.size()), length_(N) {}
  template <typename T, std::size_t N>
  Item(const std::array<T, N>& a) : Item(std::span<const T>(a)) {}  // NOLINT
  template <typename T, std::size_t N>
  Item(const T (&a)[N]) : Item(std::span<const T>(a)) {}  // NOLINT

  // `n` texts of one character each, from consecutive bytes.
  static Item chars(std::string_view s) {
    Item it(s);
    it.count_ = s.size();
    it.length_ = 1;
    return it;
  }

  Kind kind() const { return kind_; }
  std::size_t count() const { return count_; }
  std::size_t length() const { return length_; }
  const void* data() const { return ptr_; }

 private:
  Kind kind_;
  const void* ptr_;
  std::size_t count_ = 1;
  std::size_t length_ = 0;  // text items only
};

// One item (or array) to be read into.
class Into {
 public:
  Into(std::int32_t& v) : kind_(Kind::integer), ptr_(&v) {}  // NOLINT
  Into(float& v) : kind_(Kind::real32), ptr_(&v) {}          // NOLINT
  Into(double& v) : kind_(Kind::real64), ptr_(&v) {}         // NOLINT
  Into(std::span<char> text) : kind_(Kind::text), ptr_(text.data()), length_(text.size()) {}  // NOLINT
  template <std::size_t N>
  Into(FixedText<N>& t) : Into(t.span()) {}  // NOLINT
  Into(std::span<std::int32_t> a) : kind_(Kind::integer), ptr_(a.data()), count_(a.size()) {}  // NOLINT
  Into(std::span<float> a) : kind_(Kind::real32), ptr_(a.data()), count_(a.size()) {}          // NOLINT
  Into(std::span<double> a) : kind_(Kind::real64), ptr_(a.data()), count_(a.size()) {}         // NOLINT
  template <std::size_t N>
  Into(std::span<FixedText<N>> a)  // NOLINT
      : kind_(Kind::text), ptr_(a.data()), count_(a.size()), length_(N) {}
  template <typename T, std::size_t N>
  Into(std::array<T, N>& a) : Into(std::span<T>(a)) {}  // NOLINT
  template <typename T, std::size_t N>
  Into(T (&a)[N]) : Into(std::span<T>(a)) {}  // NOLINT

  // `n` texts of one character each, into consecutive bytes.
  static Into chars(std::span<char> s) {
    Into it(s);
    it.count_ = s.size();
    it.length_ = 1;
    return it;
  }

  Kind kind() const { return kind_; }
  std::size_t count() const { return count_; }
  std::size_t length() const { return length_; }
  void* data() const { return ptr_; }

 private:
  Kind kind_;
  void* ptr_;
  std::size_t count_ = 1;
  std::size_t length_ = 0;
};

// ---- Format-directed statements -----------------------------------------

// Writes `items` under `layout` as one or more records on channel `unit`.
int write(int unit, std::string_view layout, std::initializer_list<Item> items = {},
          Exits exits = kNoExit);
// Reads one record (plus one per reversion) from channel `unit`.
int read(int unit, std::string_view layout, std::initializer_list<Into> items = {},
         Exits exits = kNoExit);
// Writes into the caller's text record; columns past the high-water mark are
// blanked, characters past its end are dropped.
int write_text(std::span<char> record, std::string_view layout,
               std::initializer_list<Item> items = {}, Exits exits = kNoExit);
template <std::size_t N>
int write_text(FixedText<N>& record, std::string_view layout,
               std::initializer_list<Item> items = {}, Exits exits = kNoExit) {
  return write_text(record.span(), layout, items, exits);
}
// Reads from a text record; past its end every character is the record end.
int read_text(std::string_view record, std::string_view layout,
              std::initializer_list<Into> items = {}, Exits exits = kNoExit);

// ---- Free-form statements -----------------------------------------------

// Writes `items` in free form as one record (more when it passes 80 columns).
int write_list(int unit, std::initializer_list<Item> items, Exits exits = kNoExit);
// Reads numbers in free form from a text record.
int read_list(std::string_view record, std::initializer_list<Into> items, Exits exits = kNoExit);

// ---- Statements with items supplied one at a time -----------------------
//
// For item lists that are built in a loop (value pairs from two arrays, say).
// Each call after the first failure is ignored; finish() returns the status.
class Statement {
 public:
  static Statement write(int unit, std::string_view layout, Exits exits = kNoExit);
  static Statement read(int unit, std::string_view layout, Exits exits = kNoExit);
  static Statement write_text(std::span<char> record, std::string_view layout, Exits exits = kNoExit);
  static Statement read_text(std::string_view record, std::string_view layout, Exits exits = kNoExit);
  static Statement write_list(int unit, Exits exits = kNoExit);
  static Statement read_list(std::string_view record, Exits exits = kNoExit);

  Statement(Statement&&) noexcept;
  Statement& operator=(Statement&&) noexcept;
  ~Statement();

  Statement& put(const Item& item);
  Statement& get(const Into& item);
  int finish();
  int status() const;

  class Impl;

 private:
  explicit Statement(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// ---- Channels and program end -------------------------------------------

// Connects `unit` to the file `name` (trailing blanks removed) under the
// status OLD, NEW or UNKNOWN (first letter, either case; empty means
// UNKNOWN). Only `exits.err` matters. Returns 0 or a failure code (a code
// below 100 is the operating system's error number).
int open(int unit, std::string_view name, std::string_view status, Exits exits = kNoExit);
// Flushes and releases `unit`; a file written since it was opened is cut
// after its last record. Closing an unconnected channel does nothing.
void close(int unit);
// Closes every connected channel (as close()).
void close_all();

// Plain stop: closes every channel and ends the process with status 0.
[[noreturn]] void stop();

// How the process ends; production ends are exit(0) and abort(). Tests and
// fuzz harnesses may install a handler that throws or jumps instead; it is
// called after every channel was closed and, for `failure`, after the report
// was written. If the handler returns, the production end follows.
enum class Ending { plain_stop, failure };
using EndingHandler = void (*)(Ending);
EndingHandler set_ending_handler(EndingHandler handler);

// Closes every channel and reconnects 0, 5 and 6 to the standard streams:
// the state at program start. For tests.
void reset_channels();

}  // namespace rec
