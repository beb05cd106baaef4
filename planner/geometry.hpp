// Great-circle geometry and angle helpers of the mission track planner.
//
// Positions are single-precision degrees, latitude north positive. Every
// routine follows a fixed order of single- and double-precision operations,
// because the printed plan tables depend on the last bit of these values.
#pragma once

#include <span>

namespace planner {

// Great-circle distance in nautical miles between (lat1, lon1) and
// (lat2, lon2), all in degrees. Either longitude sign convention works, as
// long as both points use the same one. Spherical law of cosines on a sphere
// of R = 6378.163 km * 60 / 111.12 = 3443.93 nm; the cosine is clamped to
// [-1, 1] so that nearly coincident or antipodal points never give NaN.
float gcdistance(float lat1, float lon1, float lat2, float lon2);

// Position reached from (lat0, lon0) by `dist` kilometres towards azimuth
// `az` (degrees clockwise from north). Longitudes are EAST positive here.
// The displacement is split into east and north kilometres, turned into
// degrees with whole-kilometre degree lengths at lat0, then rescaled once so
// that the great-circle distance of the result matches `dist`. Within about
// one degree of a pole a degree of longitude is shorter than one whole
// kilometre; there the longitude is left at lon0 and only the latitude moves.
void srlatlon(float lat0, float lon0, float az, float dist, float& lat, float& lon);

// Angle of the vector (a, b) in degrees, 0 to 360: atan2(b, a) over a degree
// constant that is slightly small (0.017453112), so results run about
// 0.001 % high. With a northward and b eastward this is a compass direction.
float azimuth(float a, float b);

// Brings x into 0..360 inclusive by whole turns: 360 stays 360, -360 becomes
// 0, 725 becomes 5. Large magnitudes are reduced with an exact remainder
// first, so the result is what repeated subtraction would give without
// millions of steps. Non-finite x (no direction at all) is left unchanged.
void deg360(float& x);

// Case folding of the first character of `text` (only a-z resp. A-Z change;
// digits, blanks and bytes above 127 stay). `length` is the caller's field
// length and is not used: callers fold a field one character at a time.
void uppercase(std::span<char> text, int length);
void lowercase(std::span<char> text, int length);

}  // namespace planner
