// The departure-base table: 25 airfields and islands that a track file may
// name instead of giving a position.
#pragma once

#include "records/fixed_text.hpp"

namespace planner {

inline constexpr int kCityCount = 25;
// Latitude (and longitude) returned by a lookup of a name not in the table.
inline constexpr float kCityNotFound = -99.0f;

// mode 0: lookup by name. `name` (upper case, all 20 characters compared,
//         leading blanks count) gives lat (deg N) and lon (deg W); a name not
//         in the table gives -99 and -99.
// mode 1..25: `name` receives that place's name; lat and lon are unchanged.
// mode > 25: `name` receives "ERROR"; lat and lon are unchanged.
// mode < 0: nothing changes.
void city(int mode, rec::FixedText<20>& name, float& lat, float& lon);

}  // namespace planner
