// The recco decoder on an arbitrary feed of message text: RECCO bulletins,
// each starting at a WMO heading line.
// Input layout: see recon_feed.hpp.
#include <cstddef>
#include <cstdint>

#include "fuzz/recon_feed.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::run_recon_feed(recon::MessageKind::recco, data, size);
  return 0;
}
