// Vortex message decoder: groups of data lines, one level of a profile each,
// closed by an observation line that gives the profile's start and end
// times after "AT". The levels get times spread evenly between the two and
// are written as "SUPV" records with platform code 7.
//
// Data line columns: 3-5 latitude and 8-11 longitude (tenths of a degree),
// 14 standard surface code, 15-17 height digits, 20-21 temperature and 22-23
// dew point (whole degrees, 50 added below zero), 25-26 wind direction (tens
// of degrees), 27-29 speed (knots).
#include <array>
#include <string_view>

#include "recon/recon.hpp"
#include "recon/text_fields.hpp"

namespace recon {

namespace {

using detail::contains;

constexpr std::int32_t kVortexPlatform = 7;
// A profile holds at most this many levels; further data lines before the
// observation line are passed over.
constexpr int kMaxLevels = 10;
constexpr int kMinutesPerDay = 1440;

// Pressure of each standard surface code (surface marker, then hPa).
constexpr std::array<float, 6> kSurfacePressure = {1070.0f, 1000.0f, 850.0f, 700.0f, 500.0f, 400.0f};

struct Level {
  float lat = kMissing, lon = kMissing, p = kMissing, t = kMissing, rh = kMissing, z = kMissing,
        u = kMissing, v = kMissing;
};

class VortexDecoder {
 public:
  VortexDecoder(std::int32_t unit, float date, Line& line) : unit_(unit), date_(date), line_(line) {}

  void run() {
    // The two lines after the heading (aircraft and storm identification)
    // are not decoded.
    for (int k = 0; k < 2; ++k) {
      do {
        next_line();
      } while (detail::blank30(line_.view()));
    }
    for (;;) {
      next_line();
      const std::string_view l = line_.view();
      if (contains(l, "MF") || contains(l, "REM")) continue;
      if (detail::blank30(l)) continue;
      if (contains(l, "OB")) {
        observation();
      } else if (!data_line()) {
        return;
      }
    }
  }

 private:
  // The end of the message input ends the program.
  void next_line() {
    if (read_message_line(line_) != 0) rec::stop();
  }

  // Decodes one level into the profile; false at "NNNN".
  bool data_line() {
    const std::string_view l = line_.view();
    if (contains(l, "NNNN")) return false;
    if (n_ >= kMaxLevels) return true;
    ++n_;
    Level& level = levels_[static_cast<std::size_t>(n_ - 1)];
    level = Level{};

    std::int32_t ilat = 0, ilon = 0;
    detail::read_int(l, 3, 3, "(i3)", ilat);
    detail::read_int(l, 8, 4, "(i4)", ilon);
    level.lat = static_cast<float>(ilat) / 10.0f;
    level.lon = static_cast<float>(ilon) / 10.0f;

    // Fields from column 14 on that cannot be read are passed over.
    float p = kMissing, t = kMissing, z = kMissing;
    std::int32_t code = 0;
    if (detail::read_int(l, 14, 1, "(i1)", code, rec::kErrExit) == 0 && code >= 0 && code <= 5) {
      p = kSurfacePressure[static_cast<std::size_t>(code)];
    }
    std::int32_t digits = 0;
    if (detail::read_int(l, 15, 3, "(i3)", digits, rec::kErrExit) == 0) {
      // Heights with their leading digits dropped; only read digits are
      // completed, a missing height stays missing.
      z = static_cast<float>(digits);
      if (p == 1070.0f) {
        if (z < 100.0f) z += 1000.0f;  // sea-level pressure, hPa
      } else if (p == 850.0f) {
        z += 1000.0f;
      } else if (p == 700.0f) {
        z += 3000.0f;
      } else if (p == 500.0f) {
        z += 5000.0f;
      } else if (p == 400.0f) {
        z += 7000.0f;
      }
    }
    float code_t = 0.0f;
    if (detail::read_real(l, 20, 2, "(f2.0)", code_t, rec::kErrExit) == 0) t = degrees(code_t);
    float code_td = 0.0f;
    if (detail::read_real(l, 22, 2, "(f2.0)", code_td, rec::kErrExit) == 0) dew_point_ = degrees(code_td);

    std::int32_t dir = 0, spd = 0;
    if (detail::read_int(l, 25, 2, "(i2)", dir, rec::kErrExit) != 0 ||
        detail::read_int(l, 27, 3, "(i3)", spd, rec::kErrExit) != 0) {
      return true;  // abandoned: the level keeps its time slot, holds no data
    }
    float rh = kMissing;
    // A humidity needs a pressure, a temperature and a dew point; one made
    // from a missing-value marker would be a made-up number.
    if (p != kMissing && t != kMissing && dew_point_ != kMissing) relhum(p, t, dew_point_, rh);
    float u = static_cast<float>(dir), v = static_cast<float>(spd);
    rdstuv(u, v, level.lat, level.lon);
    level.p = p;
    level.t = t;
    level.rh = rh;
    level.z = z;
    level.u = u;
    level.v = v;
    return true;
  }

  static float degrees(float code) { return code >= 50.0f ? 50.0f - code : code; }

  // hh and mm from the four characters three columns after "AT" at `at`
  // (0-based), in minutes of the day.
  std::int32_t time_after(std::size_t at) const {
    std::int32_t hh = 0, mm = 0;
    const std::int64_t c = static_cast<std::int64_t>(at) + 1 + 3;
    detail::read_int(line_.view(), c, 2, "(i2)", hh);
    detail::read_int(line_.view(), c + 2, 2, "(i2)", mm);
    return hh * 60 + mm;
  }

  void observation() {
    for (;;) {
      const std::string_view l = line_.view();
      if (contains(l, "SFC")) return;
      const std::size_t at = l.find("AT");
      // An observation line without any time leaves the group open.
      if (at == std::string_view::npos) return;
      if (!awaited_) {
        t1_ = time_after(at);
        const std::size_t at2 = l.find("AT", at + 2);
        if (at2 == std::string_view::npos) {
          // The end time comes on the next line.
          next_line();
          awaited_ = true;
          continue;
        }
        t2_ = time_after(at2);
      } else {
        t2_ = time_after(at);
      }
      emit_group();
      return;
    }
  }

  // Level k of n gets t1 + (t2 - t1) * k / n: the last level the end time,
  // none the start time.
  void emit_group() {
    // A profile that runs past midnight ends on the next day's clock.
    const std::int32_t t2 = t2_ < t1_ ? t2_ + kMinutesPerDay : t2_;
    for (int k = 1; k <= n_; ++k) {
      const Level& level = levels_[static_cast<std::size_t>(k - 1)];
      std::int32_t t = t1_ + (t2 - t1_) * k / n_;
      if (t >= kMinutesPerDay) t -= kMinutesPerDay;
      const std::int32_t hhmm = (t / 60) * 100 + t % 60;
      // An abandoned data line keeps its slot but has nothing to report.
      if (level.t == kMissing && level.rh == kMissing && level.z == kMissing && level.u == kMissing &&
          level.v == kMissing) {
        continue;
      }
      out(unit_, kVortexPlatform, date_, hhmm, level.lat, level.lon, level.p, level.t, level.rh,
          level.z, level.u, level.v, kTagSUPV);
    }
    n_ = 0;
    awaited_ = false;
  }

  const std::int32_t unit_;
  const float date_;
  Line& line_;
  std::array<Level, kMaxLevels> levels_{};
  int n_ = 0;
  std::int32_t t1_ = 0, t2_ = 0;
  bool awaited_ = false;
  // Carries over from one data line to the next when a line's is unreadable.
  float dew_point_ = kMissing;
};

}  // namespace

void vortex(const std::int32_t& unit, const std::int32_t& year, const std::int32_t& month,
            const std::int32_t& reference_day, Line& line) {
  const float date = detail::bulletin_date(line.view(), year, month, reference_day);
  VortexDecoder decoder(unit, date, line);
  decoder.run();
}

}  // namespace recon
