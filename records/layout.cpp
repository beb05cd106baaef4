// Layout texts: compiling them into steps, and running format-directed
// statements on channels and text records.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>

#include "records/detail.hpp"
#include "records/statement.hpp"

namespace rec::detail {

// ---- Compiling --------------------------------------------------------------

namespace {

constexpr int kMaxCount = 32767;  // repeat counts, widths, columns
constexpr int kMaxDigits = 500;   // fraction digits of F and D
constexpr int kMaxDepth = 32;     // group nesting
// Work of one pass through a layout: the characters its fields, texts and
// moves produce plus the group steps, with repeat counts multiplied out.
// Nested repeat counts could otherwise ask for 32767^32 steps before the
// first item, a statement that never ends. The system's layouts need a few
// hundred; longer records still come from reversion and long text items.
constexpr long long kMaxPassWork = 1 << 16;

class Compiler {
 public:
  explicit Compiler(std::string_view text) : text_(text) {}

  std::shared_ptr<RecordLayout> run() {
    auto layout = std::make_shared<RecordLayout>();
    layout_ = layout.get();
    skip_blanks();
    const std::size_t open_at = pos_;
    if (!eat('(')) return nullptr;
    if (!group(1, 0)) return nullptr;
    if (pass_work() > kMaxPassWork) return nullptr;
    layout->text = std::string(text_.substr(open_at, pos_ - open_at));
    return layout;
  }

 private:
  // Work of one pass (see kMaxPassWork), saturating just above the limit.
  long long pass_work() const {
    constexpr long long kCap = kMaxPassWork + 1;
    long long total = 0;
    long long mult[kMaxDepth * 2 + 2];
    int depth = 0;
    mult[0] = 1;
    for (const Step& s : layout_->steps) {
      long long cost = 1;
      switch (s.op) {
        case Op::Begin:
          total += mult[depth];
          mult[depth + 1] = std::min(kCap, mult[depth] * s.repeat);
          ++depth;
          continue;
        case Op::End:
          total += mult[depth];  // once per repetition
          --depth;
          continue;
        case Op::Lit:
          cost += static_cast<long long>(s.lit.size());
          break;
        default:
          cost += std::max(s.w, 0);
          break;
      }
      total += mult[depth] * cost;
      if (total > kCap) return kCap;
    }
    return std::min(total, kCap);
  }

  void skip_blanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }
  int peek() {
    skip_blanks();
    return pos_ < text_.size() ? std::toupper(static_cast<unsigned char>(text_[pos_])) : -1;
  }
  bool eat(char c) {
    if (peek() == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  // Digits, blanks among them ignored; -1 when there are none.
  int number() {
    if (peek() < '0' || peek() > '9') return -1;
    long v = 0;
    while (peek() >= '0' && peek() <= '9') {
      v = v * 10 + (text_[pos_++] - '0');
      if (v > kMaxCount) return -2;
    }
    return static_cast<int>(v);
  }

  // Parses the items of a group whose "(" was just consumed, up to and
  // including its ")". Emits Begin ... End.
  bool group(int repeat, int depth) {
    if (depth >= kMaxDepth) return false;
    const int begin = static_cast<int>(layout_->steps.size());
    layout_->steps.push_back(Step{Op::Begin});
    layout_->steps.back().repeat = repeat;
    bool first = true;
    for (;;) {
      if (eat(')')) break;
      if (!first) eat(',');  // commas are optional around "/" and quoted text
      if (eat(')')) break;
      first = false;
      if (!item(depth)) return false;
    }
    const int end = static_cast<int>(layout_->steps.size());
    layout_->steps.push_back(Step{Op::End});
    layout_->steps[begin].match = end;
    layout_->steps[end].match = begin;
    return true;
  }

  void add(Step s, int repeat) {
    if (repeat == 1) {
      layout_->steps.push_back(std::move(s));
      return;
    }
    // "2F7.3" behaves as "(F7.3,F7.3)" but is not a reversion point.
    const int begin = static_cast<int>(layout_->steps.size());
    Step b{Op::Begin};
    b.repeat = repeat;
    b.synthetic = true;
    layout_->steps.push_back(b);
    layout_->steps.push_back(std::move(s));
    const int end = static_cast<int>(layout_->steps.size());
    Step e{Op::End};
    e.synthetic = true;
    layout_->steps.push_back(e);
    layout_->steps[begin].match = end;
    layout_->steps[end].match = begin;
  }

  bool item(int depth) {
    int repeat = number();
    if (repeat == -2 || repeat == 0) return false;
    const bool counted = repeat > 0;
    if (!counted) repeat = 1;
    const int c = peek();
    if (c == '(') {
      ++pos_;
      if (depth == 0) layout_->reversion = static_cast<int>(layout_->steps.size());
      return group(repeat, depth + 1);
    }
    if (c == '\'' || c == '"') {
      if (counted) return false;
      return literal(static_cast<char>(c));
    }
    ++pos_;
    Step s{Op::X};
    switch (c) {
      case 'I':
        s.op = Op::I;
        s.w = number();
        if (s.w <= 0) return false;
        if (eat('.')) {
          s.d = number();
          if (s.d < 0) return false;
        }
        layout_->has_data = true;
        add(s, repeat);
        return true;
      case 'F':
      case 'D':
        s.op = c == 'F' ? Op::F : Op::D;
        s.w = number();
        if (s.w <= 0 || !eat('.')) return false;
        s.d = number();
        if (s.d < 0 || s.d > kMaxDigits) return false;
        layout_->has_data = true;
        add(s, repeat);
        return true;
      case 'A':
        s.op = Op::A;
        s.w = number();
        if (s.w == 0 || s.w == -2) return false;
        layout_->has_data = true;
        add(s, repeat);
        return true;
      case 'X':  // the count in front is the distance
        s.op = Op::X;
        s.w = repeat;
        layout_->steps.push_back(s);
        return true;
      case 'T':
        if (counted) return false;
        s.op = Op::T;
        s.w = number();
        if (s.w <= 0) return false;
        layout_->steps.push_back(s);
        return true;
      case '/':
        // "3/" as a repeated step, not three copies of it: the compiled
        // layout stays proportional to its text.
        add(Step{Op::Slash}, repeat);
        return true;
      default:
        return false;
    }
  }

  bool literal(char delim) {
    ++pos_;  // opening delimiter; blanks inside are kept
    Step s{Op::Lit};
    for (;;) {
      if (pos_ >= text_.size()) return false;
      const char ch = text_[pos_++];
      if (ch == delim) {
        if (pos_ < text_.size() && text_[pos_] == delim) {
          s.lit.push_back(delim);
          ++pos_;
          continue;
        }
        break;
      }
      s.lit.push_back(ch);
    }
    layout_->steps.push_back(std::move(s));
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  RecordLayout* layout_ = nullptr;
};

struct LayoutCache {
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // Compiled layouts live for the whole run; the system's layouts are a
  // fixed set, so the cache stops growing at a bound instead of evicting.
  static constexpr std::size_t kMaxEntries = 1024;
  std::unordered_map<std::string, std::shared_ptr<const RecordLayout>, Hash, std::equal_to<>> map;
};

}  // namespace

std::shared_ptr<const RecordLayout> compile(std::string_view text) {
  static LayoutCache cache;
  if (auto it = cache.map.find(text); it != cache.map.end()) return it->second;
  std::shared_ptr<const RecordLayout> layout = Compiler(text).run();
  if (layout && cache.map.size() < LayoutCache::kMaxEntries) cache.map.emplace(std::string(text), layout);
  return layout;
}

// ---- Running a layout -------------------------------------------------------

FormattedStatement::FormattedStatement(Target target, std::string_view layout_text, Exits exits)
    : target_(target), exits_(exits) {
  info_.internal = target.internal;
  info_.unit = target.unit;
  info_.reading = target.reading;
  info_.layout = layout_text;
  layout_ = compile(layout_text);
  if (layout_ == nullptr) {
    status_ = fail(kErrorInFormat, info_.internal ? "startint" : "startio", info_, exits_);
    return;
  }
  info_.layout = layout_->text;
  if (!info_.internal) {
    channel_ = &ChannelTable::instance().ensure(target.unit, target.reading, layout_->text);
    info_.name = channel_->name;
    if (target.reading) {
      if (channel_->eof) {
        status_ = fail(kEndOfFile, "read start", info_, exits_);
        return;
      }
      channel_->reading_mode = true;
      channel_->flush();
      channel_->next_record();
    } else {
      channel_->prepare_write();
      rec_start_ = channel_->wbuf.size();
    }
  }
  stack_[0] = Frame{0, 1};
  depth_ = 1;
  pc_ = 1;
}

int FormattedStatement::failed(int code, std::string_view context) {
  if (channel_ != nullptr && !target_.reading) channel_->wbuf.resize(rec_start_);
  // Once a file's end was met, every later read reports it at once.
  if (channel_ != nullptr && code == kEndOfFile) channel_->eof = true;
  status_ = fail(code, context, info_, exits_);
  return status_;
}

// Processes steps up to the next data step. Returns its index, or -1 when the
// statement ends there (no item, or the layout's end without items).
int FormattedStatement::advance(bool have_item) {
  const auto& steps = layout_->steps;
  for (;;) {
    const Step& s = steps[static_cast<std::size_t>(pc_)];
    switch (s.op) {
      case Op::Begin:
        stack_[depth_++] = Frame{pc_, s.repeat};
        ++pc_;
        break;
      case Op::End: {
        Frame& f = stack_[depth_ - 1];
        if (--f.left > 0) {
          pc_ = f.begin + 1;
          break;
        }
        --depth_;
        if (depth_ > 0) {
          ++pc_;
          break;
        }
        // The layout's final ")".
        if (!have_item) return -1;
        if (!consumed_since_reversion_) {
          failed(kErrorInFormat, "fmt");  // items left, but nothing can take them
          return -2;
        }
        consumed_since_reversion_ = false;
        if (int st = next_record(); st != 0) return -2;
        stack_[0] = Frame{0, 1};
        depth_ = 1;
        pc_ = layout_->reversion == 0 ? 1 : layout_->reversion;
        break;
      }
      case Op::I:
      case Op::F:
      case Op::D:
      case Op::A:
        return have_item ? pc_ : -1;
      case Op::X:
        move_to((has_pending_ ? pending_ : col_) + static_cast<std::size_t>(s.w));
        ++pc_;
        break;
      case Op::T:
        move_to(static_cast<std::size_t>(s.w - 1));
        ++pc_;
        break;
      case Op::Slash:
        if (next_record() != 0) return -2;
        ++pc_;
        break;
      case Op::Lit:
        if (target_.reading) {
          failed(kErrorInFormat, "fmt");
          return -2;
        }
        if (put(s.lit) != 0) return -2;
        ++pc_;
        break;
    }
  }
}

void FormattedStatement::move_to(std::size_t column) {
  pending_ = column;
  has_pending_ = true;
}

// Output: places characters at the current column, applying a pending move.
int FormattedStatement::put(std::string_view chars) {
  if (info_.internal) {
    const std::size_t L = target_.text_out.size();
    if (has_pending_) {
      if (pending_ >= L) return failed(kOffEndOfRecord, "recend");
      for (std::size_t i = hw_; i < pending_; ++i) target_.text_out[i] = ' ';
      if (pending_ > hw_) hw_ = pending_;
      col_ = pending_;
      has_pending_ = false;
    }
    for (char c : chars) {
      if (col_ < L) target_.text_out[col_] = c;
      ++col_;
    }
    hw_ = std::max(hw_, std::min(col_, L));
    return 0;
  }
  std::string& buf = channel_->wbuf;
  if (has_pending_) {
    if (pending_ > hw_) buf.append(pending_ - hw_, ' ');
    hw_ = std::max(hw_, pending_);
    col_ = pending_;
    has_pending_ = false;
  }
  const std::size_t at = rec_start_ + col_;
  const std::size_t overlap = std::min(chars.size(), hw_ - col_);
  if (overlap > 0) buf.replace(at, overlap, chars.data(), overlap);
  buf.append(chars.data() + overlap, chars.size() - overlap);
  col_ += chars.size();
  hw_ = std::max(hw_, col_);
  return 0;
}

// Ends the current record and starts the next one ("/" or reversion).
int FormattedStatement::next_record() {
  has_pending_ = false;
  col_ = 0;
  if (info_.internal) {
    // A text record is a single record: there is no next one.
    return target_.reading ? failed(kEndOfFile, "fmt") : failed(kOffEndOfRecord, "recend");
  }
  if (target_.reading) {
    if (!channel_->record_has_lf) channel_->eof = true;
    channel_->next_record();
    return 0;
  }
  hw_ = 0;
  channel_->end_record();
  rec_start_ = channel_->wbuf.size();
  return 0;
}

int FormattedStatement::char_at(std::size_t i) const {
  if (info_.internal) {
    return i < target_.text_in.size() ? static_cast<unsigned char>(target_.text_in[i]) : kEndOfRecord;
  }
  return channel_->at(i);
}

// Input: applies a pending move by skipping characters.
int FormattedStatement::skip_pending() {
  if (!has_pending_) return 0;
  has_pending_ = false;
  if (pending_ > col_ && char_at(pending_ - 1) == kEndOfData) return failed(kEndOfFile, "fmt");
  col_ = pending_;
  return 0;
}

int FormattedStatement::transfer_out(const Step& s, Kind kind, const void* p, std::size_t length) {
  scratch_.clear();
  if (kind == Kind::text) {
    if (s.op != Op::A) return failed(kErrorInFormat, "fmt");
    const auto* text = static_cast<const char*>(p);
    if (s.w < 0) {
      return put(std::string_view(text, length));
    }
    const auto w = static_cast<std::size_t>(s.w);
    if (w > length) scratch_.append(w - length, ' ');
    scratch_.append(text, std::min(w, length));
    return put(scratch_);
  }
  double x = 0;
  std::int32_t iv = 0;
  switch (kind) {
    case Kind::integer:
      iv = *static_cast<const std::int32_t*>(p);
      x = iv;
      break;
    case Kind::real32:
      x = *static_cast<const float*>(p);
      break;
    case Kind::real64:
      x = *static_cast<const double*>(p);
      break;
    case Kind::text:
      break;
  }
  switch (s.op) {
    case Op::I:
      if (kind != Kind::integer) iv = whole_part(x);  // a real under I: its whole part
      edit_int(scratch_, iv, s.w, s.d);
      break;
    case Op::F:
      edit_fixed(scratch_, x, s.w, s.d);
      break;
    case Op::D:
      edit_exp(scratch_, x, s.w, s.d);
      break;
    default:
      return failed(kErrorInFormat, "fmt");
  }
  return put(scratch_);
}

int FormattedStatement::transfer_in(const Step& s, Kind kind, void* p, std::size_t length) {
  if (int st = skip_pending(); st != 0) return st;
  if (kind == Kind::text) {
    if (s.op != Op::A) return failed(kErrorInFormat, "fmt");
    auto* text = static_cast<char*>(p);
    const std::size_t w = s.w < 0 ? length : static_cast<std::size_t>(s.w);
    std::size_t skip = w > length ? w - length : 0;
    const std::size_t take = std::min(w, length);
    for (std::size_t k = 0; k < w; ++k) {
      const int c = char_at(col_);
      if (c == kEndOfData) return failed(kEndOfFile, "fmt");
      ++col_;
      if (k < skip) continue;
      text[k - skip] = c == kEndOfRecord ? ' ' : static_cast<char>(c);
    }
    for (std::size_t k = take; k < length; ++k) text[k] = ' ';
    return 0;
  }
  if (s.op == Op::I) return read_int(s, kind, p);
  if (s.op == Op::F || s.op == Op::D) return read_real(s, kind, p);
  return failed(kErrorInFormat, "fmt");
}

// Next character of a numeric input field of which `left` columns remain:
// blanks are passed over wherever they stand; a comma (consumed) or the end
// of the record ends the field early.
int FormattedStatement::field_char(int& left) {
  while (left > 0) {
    const int c = char_at(col_);
    if (c == kEndOfData) return kEndOfData;
    if (c == kEndOfRecord) return kFieldEnd;
    ++col_;
    --left;
    if (c == ',') return kFieldEnd;
    if (c != ' ') return c;
  }
  return kFieldEnd;
}

int FormattedStatement::read_int(const Step& s, Kind kind, void* p) {
  std::uint32_t mag = 0;  // wraps like the 32-bit field it fills
  bool negative = false, signed_ = false, digit = false;
  auto store = [&] {
    const std::uint32_t v = negative ? 0u - mag : mag;
    store_number(kind, p, 0, static_cast<std::int32_t>(v), true);
  };
  int left = s.w;
  for (int c; (c = field_char(left)) != kFieldEnd;) {
    if (c == kEndOfData) return failed(kEndOfFile, "fmt");
    if ((c == '+' || c == '-') && !signed_ && !digit) {
      signed_ = true;
      negative = c == '-';
    } else if (c >= '0' && c <= '9') {
      digit = true;
      mag = mag * 10u + static_cast<std::uint32_t>(c - '0');
    } else {
      store();
      return failed(kUnexpectedCharacter, "fmt");
    }
  }
  store();
  return 0;
}

int FormattedStatement::read_real(const Step& s, Kind kind, void* p) {
  DecimalText t;
  bool point = false, sign_seen = false;
  bool in_exponent = false, exp_sign_seen = false, exp_digit = false, exp_negative = false;
  long long exponent = 0;
  int left = s.w;
  for (int c; (c = field_char(left)) != kFieldEnd;) {
    if (c == kEndOfData) return failed(kEndOfFile, "fmt");
    if (in_exponent) {
      if ((c == '+' || c == '-') && !exp_sign_seen && !exp_digit) {
        exp_sign_seen = true;
        exp_negative = c == '-';
      } else if (c >= '0' && c <= '9') {
        exp_digit = true;
        if (exponent < 1000000000) exponent = exponent * 10 + (c - '0');
      } else {
        return failed(kUnexpectedCharacter, "fmt");
      }
      continue;
    }
    if (c == '+' || c == '-') {
      if (!sign_seen && !t.any_digit && !point) {
        sign_seen = true;
        t.negative = c == '-';
      } else {
        // A sign straight after the digits starts the exponent: 1.5-3.
        in_exponent = true;
        exp_sign_seen = true;
        exp_negative = c == '-';
      }
    } else if (c >= '0' && c <= '9') {
      t.add_digit(static_cast<char>(c), point);
    } else if (c == '.' && !point) {
      point = true;
    } else if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
      in_exponent = true;
    } else {
      return failed(kUnexpectedCharacter, "fmt");
    }
  }
  if (in_exponent && !exp_digit) return failed(kUnexpectedCharacter, "fmt");
  if (!point) t.exponent10 -= s.d;  // the last d digits are the fraction
  t.exponent10 += exp_negative ? -exponent : exponent;
  store_number(kind, p, t.value(), 0, false);
  return 0;
}

int FormattedStatement::item(Kind kind, const void* data, std::size_t count, std::size_t length) {
  if (status_ != 0) return status_;
  const std::size_t stride = item_stride(kind, length);
  try {
    for (std::size_t i = 0; i < count; ++i) {
      const int at = advance(true);
      if (at < 0) return status_;
      const Step& s = layout_->steps[static_cast<std::size_t>(at)];
      const auto* p = static_cast<const char*>(data) + i * stride;
      const int st = target_.reading ? transfer_in(s, kind, const_cast<char*>(p), length)
                                     : transfer_out(s, kind, p, length);
      if (st != 0) return status_;
      consumed_since_reversion_ = true;
      ++pc_;
    }
  } catch (const std::bad_alloc&) {
    failure_report(kOutOfFreeSpace, "malloc failure", info_);
  }
  return status_;
}

int FormattedStatement::finish() {
  if (status_ != 0) return status_;
  if (advance(false) == -2) return status_;
  if (info_.internal) {
    if (!target_.reading) {
      for (std::size_t i = hw_; i < target_.text_out.size(); ++i) target_.text_out[i] = ' ';
    }
    return 0;
  }
  if (target_.reading) {
    // The rest of the record is skipped; a last line without its line-feed
    // leaves the file at its end.
    if (!channel_->record_has_lf) channel_->eof = true;
    channel_->record.clear();
    return 0;
  }
  channel_->end_record();
  return 0;
}

}  // namespace rec::detail
