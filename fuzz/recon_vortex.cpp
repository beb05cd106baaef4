// The vortex decoder on an arbitrary feed of message text: vortex data
// bulletins, each starting at a WMO heading line; the decoder ends the run
// with a plain stop at the end of the input.
// Input layout: see recon_feed.hpp.
#include <cstddef>
#include <cstdint>

#include "fuzz/recon_feed.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::run_recon_feed(recon::MessageKind::vortex, data, size);
  return 0;
}
