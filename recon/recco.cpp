// RECCO decoder: one coded aircraft observation per line, each written at
// once as a "RECO" level record.
//
// Observation line columns: 1-5 indicator 97779 or 95559, 7-8 hour, 9-10
// minute, 14 octant, 15-17 latitude (tenths), 19-21 longitude (tenths,
// hundreds digit dropped), 25-27 flight altitude (decametres), 31-32 wind
// direction (tens of degrees), 33-35 speed (knots, 500 added for a direction
// ending in 5), 37-38 temperature, 39-40 dew point (50 added when negative,
// or "//"), 44 indicator j of what HHH in 45-47 gives.
#include <array>
#include <string_view>

#include "recon/recon.hpp"
#include "recon/text_fields.hpp"

namespace recon {

namespace {

using detail::cols;

// Platform code of a bulletin whose identification line names neither an Air
// Force nor a NOAA aircraft: the origin is unknown and no RECCO code claims it.
constexpr std::int32_t kUnknownAircraft = 0;

// Standard surfaces of the indicator j = 1..7 (hPa).
constexpr std::array<float, 7> sprs = {200.0f, 850.0f, 700.0f, 500.0f, 400.0f, 300.0f, 250.0f};

// Whole degrees Celsius with 50 added below zero.
float signed_degrees(float code) { return code < 50.0f ? code : -(code - 50.0f); }

// Pressure (hPa) of the standard atmosphere at pressure altitude z (m).
float standard_atmosphere(float z) {
  return 1013.25f * detail::pow_d(1.0f - z / 44331.0f, 5.255882740020752f);
}

}  // namespace

std::int32_t rtmdew(const Line& line, float& temperature, float& dew_point) {
  const std::string_view l = line.view();
  float tt = 0.0f;
  if (detail::read_real(l, 37, 2, "(f2.0)", tt, rec::kErrExit) != 0) return 1;
  temperature = signed_degrees(tt);
  if (cols(l, 39, 2) == "//") {
    // The dew point, when measured, comes on a line of its own; the line
    // after the observation is consumed whatever it holds.
    Line extra;
    if (read_message_line(extra) != 0) return 1;
    dew_point = 0.0f;
    if (detail::starts_with(extra.view(), "DEW")) detail::read_real(extra.view(), 11, 5, "(f5.1)", dew_point);
    return 0;
  }
  float dd = 0.0f;
  if (detail::read_real(l, 39, 2, "(f2.0)", dd, rec::kErrExit) != 0) return 1;
  dew_point = signed_degrees(dd);
  return 0;
}

void rpress(const Line& line, float& pressure, float& height) {
  const std::string_view l = line.view();
  std::int32_t j = 0;
  detail::read_int(l, 44, 1, "(i1)", j);
  float hhh = 0.0f;
  if (j >= 0 && j <= 8) detail::read_real(l, 45, 3, "(f3.0)", hhh);
  pressure = kMissing;
  height = kMissing;
  switch (j) {
    case 0:  // surface: sea-level pressure with the thousands dropped
      pressure = 1070.0f;
      height = hhh < 800.0f ? hhh + 1000.0f : hhh;
      break;
    case 2:  // 850 hPa: metres with the thousands dropped
      pressure = sprs[1];
      height = hhh < 800.0f ? hhh + 1000.0f : hhh;
      break;
    case 3:  // 700 hPa: metres above 3000
      pressure = sprs[2];
      height = hhh + 3000.0f;
      break;
    case 4:
    case 5:
    case 6:  // 500, 400, 300 hPa in decametres
      pressure = sprs[static_cast<std::size_t>(j - 1)];
      height = hhh * 10.0f;
      break;
    case 1:
    case 7:  // 200 and 250 hPa in decametres, the ten-thousands dropped
      pressure = sprs[static_cast<std::size_t>(j - 1)];
      height = hhh * 10.0f;
      if (height < 8500.0f) height += 10000.0f;
      break;
    case 8: {  // flight level with its D-value (decametres, 500 added when negative)
      float alt = 0.0f;
      detail::read_real(l, 25, 3, "(f3.0)", alt);
      const float d = hhh > 500.0f ? -(hhh - 500.0f) : hhh;
      const float z = (alt - d) * 10.0f;
      pressure = standard_atmosphere(z);
      height = z < 0.0f ? z + 500.0f : z;
      break;
    }
    case 9: {  // flight level without a height
      float alt = 0.0f;
      detail::read_real(l, 25, 3, "(f3.0)", alt);
      pressure = standard_atmosphere(alt * 10.0f);
      break;
    }
    default:
      break;
  }
}

void recco(const std::int32_t& unit, const std::int32_t& year, const std::int32_t& month,
           const std::int32_t& reference_day, Line& line) {
  const float date = detail::bulletin_date(line.view(), year, month, reference_day);

  // The aircraft identification line names the operator.
  do {
    if (read_message_line(line) != 0) return;
  } while (detail::blank30(line.view()));
  std::int32_t platform = kUnknownAircraft;
  if (detail::contains(line.view(), "AF")) platform = 6;
  if (detail::contains(line.view(), "VELM")) platform = 3;

  for (;;) {
    if (read_message_line(line) != 0) return;
    const std::string_view l = line.view();
    if (detail::contains(l, "NNNN")) return;
    if (detail::blank30(l)) continue;
    if (!detail::starts_with(l, "97779") && !detail::starts_with(l, "95559")) return;

    std::int32_t hour = 0, minute = 0;
    detail::read_int(l, 7, 2, "(i2)", hour);
    detail::read_int(l, 9, 2, "(i2)", minute);
    const std::int32_t time = hour * 100 + minute;

    float lat = 0.0f, lon = 0.0f;
    detail::read_real(l, 15, 3, "(f3.1)", lat);
    detail::read_real(l, 19, 3, "(f3.1)", lon);
    // Octant 1 spans 90-180 W: the dropped hundreds digit is back unless the
    // longitude is in the nineties.
    if (l[13] == '1' && l[18] != '9') lon += 100.0f;

    float direction = 0.0f, speed = 0.0f;
    detail::read_real(l, 31, 2, "(f2.0)", direction);
    detail::read_real(l, 33, 3, "(f3.0)", speed);
    if (speed >= 500.0f) {
      speed -= 500.0f;
      direction += 0.5f;
    }

    float temperature = kMissing, dew_point = kMissing;
    if (rtmdew(line, temperature, dew_point) == 1) return;
    float pressure = kMissing, height = kMissing;
    rpress(line, pressure, height);
    float humidity = kMissing;
    relhum(pressure, temperature, dew_point, humidity);
    rdstuv(direction, speed, lat, lon);
    out(unit, platform, date, time, lat, lon, pressure, temperature, humidity, height, direction,
        speed, kTagRECO);
  }
}

}  // namespace recon
