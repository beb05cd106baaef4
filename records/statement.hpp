// The statement machines behind the public calls of records.hpp.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "records/detail.hpp"

namespace rec::detail {

// Where a statement transfers to or from: a channel or a text record.
struct Target {
  int unit = -1;
  bool reading = false;
  bool internal = false;        // a text record, not a channel
  std::span<char> text_out;     // text record being written
  std::string_view text_in;     // text record being read
};

class FormattedStatement {
 public:
  FormattedStatement(Target target, std::string_view layout, Exits exits);
  int item(Kind kind, const void* data, std::size_t count, std::size_t length);
  int finish();
  int status() const { return status_; }

 private:
  struct Frame {
    int begin;
    int left;
  };
  int failed(int code, std::string_view context);
  int advance(bool have_item);
  void move_to(std::size_t column);
  int put(std::string_view chars);
  int next_record();
  int char_at(std::size_t i) const;
  int skip_pending();
  int transfer_out(const Step& s, Kind kind, const void* p, std::size_t length);
  int transfer_in(const Step& s, Kind kind, void* p, std::size_t length);
  static constexpr int kFieldEnd = -4;
  int field_char(int& left);
  int read_int(const Step& s, Kind kind, void* p);
  int read_real(const Step& s, Kind kind, void* p);

  Target target_;
  Exits exits_;
  ReportInfo info_;
  std::shared_ptr<const RecordLayout> layout_;
  Channel* channel_ = nullptr;
  int status_ = 0;
  Frame stack_[40]{};
  int depth_ = 0;
  int pc_ = 0;
  bool consumed_since_reversion_ = false;
  std::size_t col_ = 0;
  std::size_t hw_ = 0;
  std::size_t pending_ = 0;
  bool has_pending_ = false;
  std::size_t rec_start_ = 0;  // where the record in progress starts in wbuf
  std::string scratch_;
};

class ListWriter {
 public:
  ListWriter(int unit, Exits exits);
  int item(Kind kind, const void* data, std::size_t count, std::size_t length);
  int finish();
  int status() const { return status_; }

 private:
  void place(std::string_view text, std::size_t test_length);
  Channel* channel_ = nullptr;
  int status_ = 0;
  std::size_t col_ = 0;
  std::string scratch_;
};

class ListReader {
 public:
  ListReader(std::string_view text, Exits exits);
  int item(Kind kind, void* data, std::size_t count, std::size_t length);
  int finish() { return status_; }
  int status() const { return status_; }

 private:
  int peek(std::size_t i) const;
  void skip_blanks();
  void after_value(long long copies);
  int failed(int code, std::string_view context);
  int value(Kind kind, void* p, bool after_count);
  bool last_was_value_ = false;

  std::string_view text_;
  Exits exits_;
  int status_ = 0;
  std::size_t pos_ = 0;
  bool slash_ = false;
  long long repeat_left_ = 0;  // copies still to hand out
  bool repeat_null_ = false;
  double repeat_real_ = 0;
  std::int32_t repeat_int_ = 0;
};

}  // namespace rec::detail
