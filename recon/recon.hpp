// Reconnaissance message decoding: turns dropsonde (TEMP DROP), RECCO and
// vortex message text into 78-character level records.
//
// Message text is read from channel 12, which the host program opens on the
// file of messages, one line at a time into a 70-character line buffer that
// the caller owns and shares with the decoders. Level records go to the
// caller's output channel.
//
// The level record, layout
//   (I2,1X,F7.0,1X,I4,1X,2(F7.3,1X),3(F6.1,1X),F7.1,2(F6.1,1X),A4)
// holds platform code, date number yymmdd, time hhmm, latitude (north +),
// longitude (west +), pressure hPa, temperature C, relative humidity %,
// height m, u and v m/s and a four-letter tag. -99.0 marks a missing value.
// Pressure markers: 1070.0 surface (height field = surface pressure),
// 1099.0 deep-layer-mean wind, 8520.0 the 850-200 hPa wind shear.
//
// All routines keep the library's calling convention: arguments by
// reference, results through output arguments. The library is
// single-instance: the sounding table and the record counter are shared.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "records/fixed_text.hpp"

namespace recon {

// The message line buffer.
using Line = rec::FixedText<70>;

// Channel on which the host program has opened the message file.
inline constexpr int kMessageUnit = 12;

// Room of the sounding table, in level records.
inline constexpr int kMaxDropRecords = 200;

// Missing value of the level record's measured fields.
inline constexpr float kMissing = -99.0f;
// Missing position (splash position not given).
inline constexpr float kNoPosition = -999.0f;

// Tag indexes of `out`.
enum TagIndex : std::int32_t {
  kTagMANL = 1,  // standard isobaric level or surface
  kTagSIGL = 2,  // significant level
  kTagADDL = 3,  // additional-data height of a standard level
  kTagRECO = 4,  // RECCO observation (written at once)
  kTagSUPV = 5,  // vortex message level (written at once)
  kTagMWND = 6,  // maximum wind
  kTagTROP = 7,  // tropopause
  kTagDLMW = 8,  // deep-layer-mean wind
};

// ---- Shared areas -------------------------------------------------------

// `dropdata`: the sounding table. Records 1..n (records[0..n-1]) are valid;
// each is the 78 formatted characters followed by two blanks.
struct DropData {
  std::int32_t n = 0;
  std::array<rec::FixedText<80>, kMaxDropRecords> records{};
};
DropData& dropdata();
void reset_dropdata();

// `output`: count of all level records ever passed to `out`, kept or
// written. The library only increments it; it is there for the host.
struct Output {
  std::int32_t count = 0;
};
Output& output();
void reset_output();

// ---- Level records ------------------------------------------------------

// Keeps a level record in the sounding table (tag indexes up to 3, and 6 to
// 8) or writes it at once to channel `unit` (4, 5, and above 8). Tag indexes
// outside 1..8 give the tag "0000". Increments the `output` counter. When the
// table already holds kMaxDropRecords records a kept record is dropped: a
// sounding that long is not a real one, and the table must not overflow.
void out(const std::int32_t& unit, const std::int32_t& platform, const float& date,
         const std::int32_t& time, const float& latitude, const float& longitude,
         const float& pressure, const float& temperature, const float& humidity,
         const float& height, const float& u, const float& v, const std::int32_t& tag_index);

// Finishes the sounding in the table and writes it to `unit`: stamps the
// launch time (hhmm; above 2399 means none) and the position (latitude
// -999.0 means none) into every record, moving the date of records stamped
// 0000 back one day when the launch was after 2300, sorts by descending
// pressure (stable) and appends the 850-200 hPa wind-shear record when both
// winds are known. The table keeps the finished records.
void dropout(const std::int32_t& unit, const std::int32_t& launch_time, const float& latitude,
             const float& longitude);

// ---- Group decoders and wind conversions --------------------------------
//
// Positions are columns counted from 1. Columns outside the text read as
// blanks, so a group that reaches past column 70 is blank-padded.

// Reads the next message line into `line` when `position` is beyond 65 or the
// six columns from `position` are blank; the position then becomes 1. At the
// end of the message input nothing changes.
void tagtst(std::int32_t& position, Line& line);

// Temperature group TTTDD at `position`: temperature in C (odd tenths digit
// means below zero) and the relative humidity in % at `pressure` (hPa) from
// the dew-point depression. "///" or "//" parts give -99.0; without a
// temperature the humidity stays -99.0 too.
void temdew(std::string_view line, const std::int32_t& position, const float& pressure,
            float& temperature, float& humidity);

// Relative humidity in % (capped at 100) from pressure (hPa), temperature
// and dew point (C): the ratio of the mixing ratio to the saturation mixing
// ratio. No test for missing inputs.
void relhum(const float& pressure, const float& temperature, const float& dew_point,
            float& humidity);

// Height group PPhhh at `position` under the height rule of the flagged
// standard level (`level_flags`: 1 surface, 2 1000 hPa, ... 12 100 hPa).
// "///" leaves `height` unchanged. The surface group sets `surface_pressure`
// (hPa) and leaves it in `height` too.
void geo(std::string_view line, const std::int32_t& position,
         const std::array<std::int32_t, 12>& level_flags, float& height, float& surface_pressure);

// Wind group dddff at `position`: direction in tens of degrees, speed as
// coded (500 added when the direction ends in 5). "/////" gives -99.0 twice.
void wind(std::string_view line, const std::int32_t& position, float& direction, float& speed);

// Turns a decoded wind group into u and v (m/s): `direction` becomes u and
// `speed` becomes v. Knots are converted when `knots` is not 0. A missing
// direction leaves both unchanged. Latitude and longitude are not used.
void dstouv(float& direction, float& speed, const float& latitude, const float& longitude,
            const std::int32_t& knots);

// The same for RECCO and vortex winds: direction in tens of degrees, speed
// in knots; no test for missing values.
void rdstuv(float& direction, float& speed, const float& latitude, const float& longitude);

// u and v from direction (degrees, where the wind blows from) and speed:
// `direction` becomes u and `speed` becomes v.
void uvcomp(float& direction, float& speed);
// The same into separate outputs.
void uvcomp2(const float& direction, const float& speed, float& u, float& v);

// ---- Message decoders ---------------------------------------------------

// Decodes one dropsonde message (parts A and B) from the message input and
// writes its sounding to `unit` through `dropout`. With `positioned` 1 the
// line buffer already holds the part-A identification line; otherwise the
// second non-blank line read is taken as that line. `reference_day`: a
// message day below it falls in the month after `month`. On return the line
// buffer holds the last line read.
void drop(const std::int32_t& unit, const std::int32_t& platform, const std::int32_t& positioned,
          const std::int32_t& year, const std::int32_t& month, const std::int32_t& reference_day,
          Line& line);

// Decodes one RECCO bulletin whose heading is in the line buffer, writing one
// "RECO" record per observation to `unit`. Returns at the end of the input,
// at "NNNN", at an unusable temperature, or at the first line that is not an
// observation (the line buffer then holds it).
void recco(const std::int32_t& unit, const std::int32_t& year, const std::int32_t& month,
           const std::int32_t& reference_day, Line& line);

// Temperature and dew point (C) of a RECCO observation line; a "//" dew point
// is taken from a following "DEW" line (that line is consumed in any case).
// Returns 1 when the observation cannot be used, else 0.
std::int32_t rtmdew(const Line& line, float& temperature, float& dew_point);

// Pressure (hPa) and height (m) of a RECCO observation line.
void rpress(const Line& line, float& pressure, float& height);

// Decodes one vortex bulletin whose heading is in the line buffer, writing
// one "SUPV" record per level when its group is closed by an observation
// line. Returns at a data line holding "NNNN"; at the end of the message
// input it ends the program with a plain stop.
void vortex(const std::int32_t& unit, const std::int32_t& year, const std::int32_t& month,
            const std::int32_t& reference_day, Line& line);

// ---- A feed of messages -------------------------------------------------

enum class MessageKind { drop, recco, vortex };

// Decodes every message of one kind on the message input, writing the level
// records to `unit`: each line beginning "XXAA" starts a dropsonde message,
// each WMO heading line ("UZNT13 KNHC 200250") a RECCO or vortex bulletin;
// other lines between messages are passed over. `platform` is the dropsonde
// platform code. Returns at the end of the input (a vortex bulletin ends the
// program there instead).
void decode_messages(MessageKind kind, std::int32_t unit, std::int32_t year, std::int32_t month,
                     std::int32_t reference_day, std::int32_t platform);

// ---- Message input ------------------------------------------------------

// Reads the next message line into `line` (cut at 70 characters, padded with
// blanks). Returns 0, or -1 at the end of the input, leaving `line` as it was.
int read_message_line(Line& line);

}  // namespace recon
