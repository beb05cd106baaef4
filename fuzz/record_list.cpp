// Free-form reading of numbers from a text record, and free-form writing of
// what was read, on arbitrary bytes.
//
// Input: a kinds byte, a flags byte, then the text record. The kinds byte
// chooses four items, two bits each: integer, single real, double real, and
// a 12-character text (which free-form input does not take: it must fail
// cleanly). Flags bit 0 adds an array of three single reals, bits 1-2
// choose the exits (0: none). The values read are then written free-form to
// a channel, followed by the start of the text itself as a text item, which
// exercises the 80-column rule with long items.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "fuzz/harness.hpp"
#include "records/fixed_text.hpp"
#include "records/records.hpp"

namespace {

struct Values {
  std::array<std::int32_t, 4> i{};
  std::array<float, 4> f{};
  std::array<double, 4> d{};
  std::array<rec::FixedText<12>, 4> t{};
  std::array<float, 3> array{};
};

constexpr int kOutUnit = 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in = fuzz::as_text(data, size);
  fuzz::Steering steer;
  if (!fuzz::take_steering(in, steer)) return 0;
  const unsigned kinds = steer.kinds;
  const unsigned flags = steer.flags;
  const bool with_array = (flags & 1u) != 0;
  const rec::Exits exits = ((flags >> 1) & 3u) == 0 ? rec::kNoExit : rec::kErrEndExit;

  fuzz::run_program({}, [&] {
    Values v;
    rec::Statement reader = rec::Statement::read_list(in, exits);
    rec::Statement writer = rec::Statement::write_list(kOutUnit, exits);
    for (int k = 0; k < 4; ++k) {
      switch ((kinds >> (2 * k)) & 3u) {
        case 0: reader.get(v.i[k]); break;
        case 1: reader.get(v.f[k]); break;
        case 2: reader.get(v.d[k]); break;
        default: reader.get(v.t[k]); break;
      }
    }
    if (with_array) reader.get(rec::Into(v.array));
    reader.finish();

    for (int k = 0; k < 4; ++k) {
      switch ((kinds >> (2 * k)) & 3u) {
        case 0: writer.put(v.i[k]); break;
        case 1: writer.put(v.f[k]); break;
        case 2: writer.put(v.d[k]); break;
        default: writer.put(v.t[k]); break;
      }
    }
    if (with_array) writer.put(rec::Item(v.array));
    writer.put(in.substr(0, std::min<std::size_t>(in.size(), 200)));
    writer.finish();
  });
  return 0;
}
