// Message group decoders and wind conversions shared by the three decoders.
#include <array>

#include "recon/recon.hpp"
#include "recon/text_fields.hpp"

namespace recon {

using detail::cols;

namespace {

// True when the five columns of the group at `p` are all blank.
bool blank_group(std::string_view line, std::int64_t p) {
  return cols(line, p, 5).find_first_not_of(' ') == std::string::npos;
}

}  // namespace

void tagtst(std::int32_t& position, Line& line) {
  // Groups are five characters and a blank; a line holds at most eleven,
  // beginning in columns 1, 7, ..., 61.
  if (position <= 65 && cols(line.view(), position, 6).find_first_not_of(' ') != std::string::npos) {
    return;
  }
  if (read_message_line(line) == 0) position = 1;
}

void relhum(const float& pressure, const float& temperature, const float& dew_point,
            float& humidity) {
  const float e = detail::pow_d(10.0f, 9.4051f - 2353.0f / (dew_point + 273.16f));
  const float es = detail::pow_d(10.0f, 9.4051f - 2353.0f / (temperature + 273.16f));
  float rh = (e / (pressure - e)) * 100.0f / (es / (pressure - es));
  if (rh > 100.0f) rh = 100.0f;
  humidity = rh;
}

void temdew(std::string_view line, const std::int32_t& position, const float& pressure,
            float& temperature, float& humidity) {
  const std::int64_t p = position;
  temperature = kMissing;
  humidity = kMissing;
  // A blank group is met only after the input has ended; it holds nothing.
  if (blank_group(line, p)) return;
  if (cols(line, p, 3) != "///") {
    detail::read_real(line, p, 3, "(f3.1)", temperature);
    // The tenths digit carries the sign: odd below zero, even above.
    std::int32_t tenths = 0;
    detail::read_int(line, p + 2, 1, "(i1)", tenths);
    if (tenths % 2 != 0) temperature = -temperature;
  }
  if (cols(line, p + 3, 2) == "//") return;
  std::int32_t dd = 0;
  detail::read_int(line, p + 3, 2, "(i2)", dd);
  // Depressions up to 5.0 are coded in tenths, larger ones as 50 + degrees.
  const float depression = dd <= 50 ? static_cast<float>(dd) / 10.0f : static_cast<float>(dd - 50);
  // Without a temperature there is no dew point either, and a humidity made
  // from the missing-value marker would be a made-up number.
  if (temperature == kMissing) return;
  const float dew_point = temperature - depression;
  relhum(pressure, temperature, dew_point, humidity);
}

void geo(std::string_view line, const std::int32_t& position,
         const std::array<std::int32_t, 12>& level_flags, float& height, float& surface_pressure) {
  const std::int64_t p = position;
  if (cols(line, p + 2, 3) == "///") return;
  float hhh = 0.0f;
  detail::read_real(line, p + 2, 3, "(f3.0)", hhh);
  height = hhh;
  int level = 0;  // 1 surface, 2 1000 hPa, ... 12 100 hPa
  for (int k = 0; k < 12; ++k) {
    if (level_flags[static_cast<std::size_t>(k)] == 1) {
      level = k + 1;
      break;
    }
  }
  switch (level) {
    case 1:  // surface pressure with the thousands dropped
      if (hhh < 100.0f) height = hhh + 1000.0f;
      surface_pressure = height;
      break;
    case 2:  // 1000 hPa: heights below sea level are coded with 500 added
      if (hhh >= 500.0f) height = -(hhh - 500.0f);
      break;
    case 3:  // 925 hPa: below sea level only when the surface is above 925 hPa
      if (surface_pressure <= 925.0f && hhh >= 500.0f) height = -(hhh - 500.0f);
      break;
    case 4:  // 850 hPa: thousands dropped, except over a deep low
      height = hhh + 1000.0f;
      if (surface_pressure <= 950.0f && height > 1500.0f) height -= 1000.0f;
      break;
    case 5:  // 700 hPa: 2xxx or 3xxx metres, always 2xxx in a deep low
      if (surface_pressure < 960.0f) {
        height = hhh + 2000.0f;
      } else {
        height = hhh < 500.0f ? hhh + 3000.0f : hhh + 2000.0f;
      }
      break;
    case 6:
    case 7:  // 500 and 400 hPa in decametres
      height = hhh * 10.0f;
      break;
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:  // 300 to 100 hPa in decametres, the ten-thousands dropped
      height = hhh * 10.0f;
      if (height < 8500.0f) height += 10000.0f;
      break;
    default:
      break;
  }
}

void wind(std::string_view line, const std::int32_t& position, float& direction, float& speed) {
  const std::int64_t p = position;
  if (cols(line, p, 5) == "/////" || blank_group(line, p)) {
    direction = kMissing;
    speed = kMissing;
    return;
  }
  detail::read_real(line, p, 2, "(f2.0)", direction);
  detail::read_real(line, p + 2, 3, "(f3.0)", speed);
}

void uvcomp2(const float& direction, const float& speed, float& u, float& v) {
  float a = 270.0f - direction;
  if (a < 0.0f) a += 360.0f;
  const float r = a * 0.017453292f;
  const float s = speed;  // both components from the input speed
  const float uu = s * detail::cos_d(r);
  const float vv = s * detail::sin_d(r);
  u = uu;
  v = vv;
}

void uvcomp(float& direction, float& speed) {
  float u = 0.0f, v = 0.0f;
  uvcomp2(direction, speed, u, v);
  direction = u;
  speed = v;
}

void dstouv(float& direction, float& speed, const float& /*latitude*/, const float& /*longitude*/,
            const std::int32_t& knots) {
  if (direction == kMissing) return;
  direction *= 10.0f;
  // The unit digit 5 of a direction is coded as 500 added to the speed.
  if (speed >= 500.0f) {
    speed -= 500.0f;
    direction += 5.0f;
  }
  if (knots != 0) speed *= 0.514444f;
  uvcomp(direction, speed);
}

void rdstuv(float& direction, float& speed, const float& /*latitude*/, const float& /*longitude*/) {
  direction *= 10.0f;
  speed *= 0.514444f;
  uvcomp(direction, speed);
}

}  // namespace recon
