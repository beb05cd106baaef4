#!/usr/bin/env bash
# Whole-program checks of trackmap that cannot be byte-for-byte golden runs:
#   trackmap_test.sh no_gmt TRACKMAP     the missing-GMT message (always runs)
#   trackmap_test.sh draw TRACKMAP DIR   drawing the fixture DIR (exit 77,
#                                        "skipped", when GMT is not installed)
set -euo pipefail
what=$1
trackmap=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/trackmap-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# png_size FILE: prints "WIDTH HEIGHT" from the IHDR chunk, or fails when the
# file does not start with the PNG signature and an IHDR chunk.
png_size() {
  local hex
  hex=$(head -c 24 "$1" | od -An -tx1 | tr -d ' \n')
  [[ ${hex:0:16} == 89504e470d0a1a0a && ${hex:24:8} == 49484452 ]] || fail "$1 is not a PNG image"
  echo "$((16#${hex:32:8})) $((16#${hex:40:8}))"
}

case $what in
no_gmt)
  # A PATH that offers every program of the real PATH except gmt.
  mkdir "$work/bin" "$work/run"
  IFS=: read -ra dirs <<<"$PATH"
  for d in "${dirs[@]}"; do
    [[ -d $d ]] || continue
    for f in "$d"/*; do
      name=${f##*/}
      [[ $name == gmt || -e "$work/bin/$name" || ! -x $f ]] && continue
      ln -s "$f" "$work/bin/$name"
    done
  done
  printf ' 25.790 80.290 T\n' >"$work/run/points1"
  rc=0
  (cd "$work/run" && PATH="$work/bin" "$trackmap" >"$work/out" 2>"$work/err") || rc=$?
  [[ $rc -ne 0 ]] || fail "exit status 0 without GMT"
  grep -q "GMT (the program 'gmt') is not installed" "$work/err" || fail "no missing-GMT message: $(cat "$work/err")"
  grep -qx "trackmap: install the plotting packages with: apt-get install -y gmt gmt-gshhg-low ghostscript" "$work/err" \
    || fail "no install line: $(cat "$work/err")"
  [[ $(ls "$work/run") == points1 ]] || fail "files left behind: $(ls "$work/run")"
  ;;
draw)
  fixture=$3
  if ! command -v gmt >/dev/null 2>&1 || ! command -v gs >/dev/null 2>&1; then
    echo "GMT or Ghostscript not installed"
    exit 77
  fi
  cp -a "$fixture/." "$work/"
  (cd "$work" && "$trackmap") || fail "trackmap failed on the fixture"
  # Every map has the fixed page size (19 x 16.5 cm at 100 dpi) and nothing
  # else (GMT session files, temporary PostScript) is left in the directory.
  for n in 1 2; do
    [[ $(png_size "$work/track$n.png") == "749 650" ]] || fail "track$n.png has size $(png_size "$work/track$n.png")"
  done
  expected=$( (cd "$fixture" && ls; echo track1.png; echo track2.png) | sort)
  [[ $(cd "$work" && ls | sort) == "$expected" ]] || fail "unexpected files: $(ls "$work")"

  # A later run in which track 1 can no longer be drawn: its old image goes,
  # track 2 is redrawn, and the run reports the failure.
  : >"$work/points1"
  touch -d '2000-01-01' "$work/track2.png"
  rc=0
  (cd "$work" && "$trackmap" >/dev/null 2>"$work/.err") || rc=$?
  [[ $rc -eq 1 ]] || fail "exit status $rc, expected 1"
  [[ ! -e "$work/track1.png" ]] || fail "outdated track1.png left in place"
  [[ "$work/track2.png" -nt "$work/points2" ]] || fail "track2.png not redrawn"
  png_size "$work/track2.png" >/dev/null

  # A GMT step that fails half-way must not yield an image without its track.
  mkdir "$work/bin"
  printf '#!/bin/sh\n[ "$1" = psxy ] && { echo "psxy: simulated failure" >&2; exit 1; }\nexec %q "$@"\n' \
    "$(command -v gmt)" >"$work/bin/gmt"
  chmod +x "$work/bin/gmt"
  rc=0
  (cd "$work" && PATH="$work/bin:$PATH" "$trackmap" >/dev/null 2>"$work/bin/err") || rc=$?
  [[ $rc -eq 1 ]] || fail "exit status $rc with a failing GMT step, expected 1"
  [[ ! -e "$work/track2.png" ]] || fail "track2.png left after a failing GMT step"
  grep -q "track 2: GMT failed to draw the map" "$work/bin/err" || fail "no GMT failure message: $(cat "$work/bin/err")"
  grep -q "simulated failure" "$work/bin/err" || fail "GMT's own message not shown"
  ;;
*)
  fail "unknown check $what"
  ;;
esac
echo "ok: $what"
