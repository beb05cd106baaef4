// Free-form records: list output with its fixed spacing and 80-column rule,
// and reading numbers from text records with separators, nulls, repeat
// counts and the slash.
#include <cstring>
#include <new>
#include <string>

#include "records/statement.hpp"

namespace rec::detail {

// ---- Writing ----------------------------------------------------------------

ListWriter::ListWriter(int unit, Exits /*exits*/) {
  channel_ = &ChannelTable::instance().ensure(unit, false, "list io");
  channel_->prepare_write();
}

// Appends one item's text, ending the record first when the item would reach
// column 80. `test_length` is what the rule counts (digits only for integers).
void ListWriter::place(std::string_view text, std::size_t test_length) {
  if (col_ != 0 && col_ + test_length >= 80) {
    channel_->end_record();
    col_ = 0;
  }
  channel_->wbuf.append(text);
  col_ += text.size();
}

int ListWriter::item(Kind kind, const void* data, std::size_t count, std::size_t length) {
  try {
    for (std::size_t i = 0; i < count; ++i) {
      scratch_.clear();
      switch (kind) {
        case Kind::integer: {
          const std::int32_t v = static_cast<const std::int32_t*>(data)[i];
          const std::string digits = std::to_string(v < 0 ? -static_cast<std::int64_t>(v) : v);
          scratch_.push_back(' ');
          if (v < 0) scratch_.push_back('-');
          scratch_ += digits;
          place(scratch_, digits.size());
          break;
        }
        case Kind::real32:
          list_real(scratch_, static_cast<const float*>(data)[i]);
          place(scratch_, scratch_.size());
          break;
        case Kind::real64:
          list_real(scratch_, static_cast<const double*>(data)[i]);
          place(scratch_, scratch_.size());
          break;
        case Kind::text: {
          const std::string_view text(static_cast<const char*>(data) + i * length, length);
          if (col_ != 0 && col_ + length >= 80) {
            channel_->end_record();
            col_ = 0;
          }
          if (col_ == 0) scratch_.push_back(' ');  // every record begins with a blank
          scratch_ += text;
          channel_->wbuf.append(scratch_);
          col_ += scratch_.size();
          break;
        }
      }
    }
  } catch (const std::bad_alloc&) {
    ReportInfo info;
    info.unit = -1;
    failure_report(kOutOfFreeSpace, "malloc failure", info);
  }
  return 0;
}

int ListWriter::finish() {
  channel_->end_record();
  return 0;
}

// ---- Reading ----------------------------------------------------------------

namespace {
constexpr int kExhausted = -1;
constexpr int kMark = -2;  // the end-of-record mark, one column past the text

bool is_blank(int c) { return c == ' ' || c == '\t' || c == kMark; }
bool is_digit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

ListReader::ListReader(std::string_view text, Exits exits) : text_(text), exits_(exits) {}

int ListReader::peek(std::size_t i) const {
  if (i < text_.size()) return static_cast<unsigned char>(text_[i]);
  return i == text_.size() ? kMark : kExhausted;
}

void ListReader::skip_blanks() {
  while (is_blank(peek(pos_))) ++pos_;
}

int ListReader::failed(int code, std::string_view context) {
  ReportInfo info;
  info.internal = true;
  info.reading = true;
  info.layout = "list io";
  status_ = fail(code, context, info, exits_);
  return status_;
}

// After a value: blanks and tabs go; a comma goes too unless more copies of
// a repeat are still to be handed out (it is taken when they run out).
void ListReader::after_value(long long copies) {
  while (peek(pos_) == ' ' || peek(pos_) == '\t') ++pos_;
  if (copies <= 1 && peek(pos_) == ',') ++pos_;
}

int ListReader::item(Kind kind, void* data, std::size_t count, std::size_t length) {
  if (status_ != 0) return status_;
  const std::size_t stride = item_stride(kind, length);
  for (std::size_t i = 0; i < count; ++i) {
    if (slash_) return 0;  // this item and all later ones keep their values
    void* p = static_cast<char*>(data) + i * stride;
    if (kind == Kind::text) return failed(kBadListInput, "invalid number");
    if (repeat_left_ > 0) {
      if (!repeat_null_) store_number(kind, p, repeat_real_, repeat_int_, kind == Kind::integer);
      if (--repeat_left_ == 0) after_value(1);
      continue;
    }
    skip_blanks();
    const int c = peek(pos_);
    if (c == kExhausted) return failed(kEndOfFile, "list in");
    if (c == ',') {  // a null value
      ++pos_;
      continue;
    }
    if (c == '/') {
      ++pos_;
      slash_ = true;
      return 0;
    }
    // A repeat count: digits (a leading "+" allowed) directly followed by "*".
    std::size_t q = pos_;
    const int sign = peek(q);
    if (sign == '+' || sign == '-') ++q;
    const std::size_t digits_at = q;
    while (is_digit(peek(q))) ++q;
    bool after_count = false;
    long long copies = 1;
    if (peek(q) == '*') {
      const std::size_t ndigits = q - digits_at;
      std::size_t first = digits_at;
      while (first < q && text_[first] == '0') ++first;
      if (sign == '-' || ndigits == 0 || ndigits > 40 || first == q) {
        return failed(kBadListInput, "bad repetition count");
      }
      copies = 0;
      for (std::size_t k = first; k < q; ++k) {
        copies = copies > 1000000000LL ? copies : copies * 10 + (text_[k] - '0');
      }
      pos_ = q + 1;
      after_count = true;
    }
    if (int st = value(kind, p, after_count); st != 0) return st;
    if (copies > 1) {
      repeat_left_ = copies - 1;
      repeat_null_ = !last_was_value_;
      if (!repeat_null_) {
        switch (kind) {
          case Kind::integer: repeat_int_ = *static_cast<std::int32_t*>(p); break;
          case Kind::real32: repeat_real_ = *static_cast<float*>(p); break;
          case Kind::real64: repeat_real_ = *static_cast<double*>(p); break;
          case Kind::text: break;
        }
      }
    }
    after_value(copies);
  }
  return 0;
}

// Reads one number at pos_ into *p, or recognises a null. Sets
// last_was_value_.
int ListReader::value(Kind kind, void* p, bool after_count) {
  last_was_value_ = false;
  const bool integer = kind == Kind::integer;
  DecimalText t;
  std::uint32_t mag = 0;
  int c = peek(pos_);
  if (c == '+' || c == '-') {
    t.negative = c == '-';
    c = peek(++pos_);
  }
  bool point = false;
  for (;; c = peek(++pos_)) {
    if (is_digit(c)) {
      t.add_digit(static_cast<char>(c), point);
      mag = mag * 10u + static_cast<std::uint32_t>(c - '0');
    } else if (c == '.' && !point) {
      if (integer) return failed(kUnexpectedCharacter, "invalid integer");
      point = true;
    } else {
      break;
    }
  }
  if (!t.any_digit) {
    if (c == ',' || c == '/' || (after_count && (is_blank(c) || c == kExhausted))) return 0;  // null
    return failed(kBadListInput, "invalid number");
  }
  long long exponent = 0;
  const bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd';
  if (letter || c == '+' || c == '-') {
    if (integer) return failed(kUnexpectedCharacter, "invalid integer");
    if (letter) c = peek(++pos_);
    bool negative = false;
    if (c == '+' || c == '-') {
      negative = c == '-';
      c = peek(++pos_);
    }
    if (!is_digit(c)) return failed(kBadListInput, "exponent field");
    for (; is_digit(c); c = peek(++pos_)) {
      exponent = exponent * 10 + (c - '0');
      if (exponent > 99999999) return failed(kBadListInput, "exponent field");
    }
    if (negative) exponent = -exponent;
  }
  t.exponent10 += exponent;
  const std::uint32_t iv = t.negative ? 0u - mag : mag;
  store_number(kind, p, integer ? 0.0 : t.value(), static_cast<std::int32_t>(iv), integer);
  last_was_value_ = true;
  return 0;
}

}  // namespace rec::detail
