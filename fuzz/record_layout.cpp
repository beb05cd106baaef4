// Layout texts and format-directed statements on arbitrary bytes.
//
// Input: a kinds byte, a flags byte, then the layout text up to the first
// line-feed, then the record text. The statement is run on that pair in
// every direction the layer offers:
//   1. read items out of the record text as a text record;
//   2. write the values read into a text record of 1 to 64 characters;
//   3. write them as records on a channel (the file out.txt);
//   4. read the record text as a file (in.txt), record after record, until
//      its end.
// The kinds byte chooses the four items, two bits each: integer, single
// real, double real, 12-character text. Flags bit 0 adds an array of three
// integers, bits 1-2 choose the exits (0: none, so every failure ends in
// the failure report), bits 3-7 the length of the text record.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/harness.hpp"
#include "records/fixed_text.hpp"
#include "records/records.hpp"

namespace {

struct Values {
  std::array<std::int32_t, 4> i{};
  std::array<float, 4> f{};
  std::array<double, 4> d{};
  std::array<rec::FixedText<12>, 4> t{};
  std::array<std::int32_t, 3> array{};
};

constexpr int kOutUnit = 20;
constexpr int kInUnit = 21;

// Item k as chosen by the kinds byte.
rec::Into into(Values& v, unsigned kinds, int k) {
  switch ((kinds >> (2 * k)) & 3u) {
    case 0: return v.i[k];
    case 1: return v.f[k];
    case 2: return v.d[k];
    default: return v.t[k];
  }
}

rec::Item item(const Values& v, unsigned kinds, int k) {
  switch ((kinds >> (2 * k)) & 3u) {
    case 0: return v.i[k];
    case 1: return v.f[k];
    case 2: return v.d[k];
    default: return v.t[k];
  }
}

int read_items(rec::Statement st, Values& v, unsigned kinds, bool with_array) {
  for (int k = 0; k < 4; ++k) st.get(into(v, kinds, k));
  if (with_array) st.get(rec::Into(v.array));
  return st.finish();
}

int write_items(rec::Statement st, const Values& v, unsigned kinds, bool with_array) {
  for (int k = 0; k < 4; ++k) st.put(item(v, kinds, k));
  if (with_array) st.put(rec::Item(v.array));
  return st.finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in = fuzz::as_text(data, size);
  fuzz::Steering steer;
  if (!fuzz::take_steering(in, steer)) return 0;
  const unsigned kinds = steer.kinds;
  const unsigned flags = steer.flags;
  const std::vector<std::string_view> parts = fuzz::split(in, '\n', 2);
  const std::string_view layout = parts[0];
  const std::string_view record = parts.size() > 1 ? parts[1] : std::string_view();

  const bool with_array = (flags & 1u) != 0;
  const rec::Exits exits = ((flags >> 1) & 3u) == 0 ? rec::kNoExit : rec::kErrEndExit;
  const std::size_t text_length = (flags >> 3) * 2u + 1u;

  fuzz::run_program({{"in.txt", record}}, [&] {
    Values v;
    read_items(rec::Statement::read_text(record, layout, exits), v, kinds, with_array);

    std::vector<char> text(text_length, '?');
    write_items(rec::Statement::write_text(text, layout, exits), v, kinds, with_array);

    rec::open(kOutUnit, "out.txt", "UNKNOWN");
    write_items(rec::Statement::write(kOutUnit, layout, exits), v, kinds, with_array);
    rec::close(kOutUnit);

    rec::open(kInUnit, "in.txt", "OLD");
    // Every read consumes at least one record, so the file runs out within
    // this many statements.
    for (std::size_t n = 0; n <= record.size() + 1; ++n) {
      if (read_items(rec::Statement::read(kInUnit, layout, exits), v, kinds, with_array) != 0) break;
    }
    rec::close(kInUnit);
  });
  return 0;
}
