#!/usr/bin/env bash
# Whole-program run on a station table of 15002 rows, longer than the 15000
# the program holds. The table is generated here rather than stored (about
# 1 MB); the report and the expected lists live in the template folder.
# Usage: long_table.sh PROGRAM GOLDEN_SH TEMPLATE_DIR
set -eu
prog=$1
golden=$2
template=$3
case_dir=$(mktemp -d "${TMPDIR:-/tmp}/stations-long.XXXXXX")
trap 'rm -rf "$case_dir"' EXIT

mkdir -p "$case_dir/input" "$case_dir/expected"
# Rows 1..15000 hold stations 10001..25000; row 15001 repeats station 10005
# with another position and row 15002 holds station 99999: neither is read.
awk 'BEGIN {
  for (i = 1; i <= 15002; i++) {
    stn = 10000 + i; lat = (i * 37) % 18000 - 9000; lon = (i * 53) % 36000 - 18000
    if (i == 15001) { stn = 10005; lat = 1111; lon = 2222 }
    if (i == 15002) { stn = 99999 }
    printf "GEN       %5d %-39s%5d %6d\n", stn, "GENERATED STATION " i, lat, lon
  }
}' >"$case_dir/input/sonde.land.tbl"
cp "$template/ua_cur.dat" "$case_dir/input/"
cp "$case_dir/input/sonde.land.tbl" "$case_dir/input/ua_cur.dat" "$case_dir/expected/"
cp "$template"/expected/* "$case_dir/expected/"
cp "$template/stdout" "$case_dir/"

bash "$golden" "$prog" "$case_dir"
