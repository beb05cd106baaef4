#!/usr/bin/env bash
# Builds the toolkit and runs it on the bundled example inputs, each program
# in a fresh working directory under out/ (the planner refuses to overwrite
# the plot files of an earlier run, so every run starts from empty folders).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"

cmake -S "$top" -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target trackplan stationlists >/dev/null

out="$top/out"
rm -rf "$out/mission" "$out/stations"
mkdir -p "$out/mission" "$out/stations"

# Mission plans: one turn table, drop table, points file and storm file per
# track. With fewer than four track files the run ends by noting the missing
# next track in fort.8, which is the normal way a short mission ends.
cp "$top"/examples/mission/current?.ftk "$out/mission/"
(cd "$out/mission" && "$build/planner/trackplan" >echo.txt)
if command -v gmt >/dev/null 2>&1; then
  (cd "$out/mission" && "$top/tools/trackmap/trackmap") || echo "trackmap could not draw every map"
else
  echo "(maps skipped: install gmt gmt-gshhg-low ghostscript to draw trackN.png)"
fi

# Station lists from a month of sounding reports.
cp "$top"/examples/stations/sonde.land.tbl "$top"/examples/stations/ua_cur.dat "$out/stations/"
(cd "$out/stations" && "$build/stations/stationlists" >unknown.txt)

echo "Mission plans in $out/mission:"
(cd "$out/mission" && ls)
echo
echo "Station lists in $out/stations:"
(cd "$out/stations" && ls)
echo
echo "== $out/mission/turns1.txt"
cat "$out/mission/turns1.txt"
