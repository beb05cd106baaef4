#!/usr/bin/env bash
# Runs one whole-program case: copies the case's input files into a fresh
# directory, runs the program there and compares every file left behind,
# standard output, standard error and the exit status byte for byte.
# Usage: golden.sh PROGRAM CASE_DIR
set -u
prog=$1
case_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/golden.XXXXXX")
trap 'rm -rf "$work"' EXIT

if [ -d "$case_dir/input" ]; then
  cp -a "$case_dir/input/." "$work/"
fi
args=()
if [ -f "$case_dir/args" ]; then
  mapfile -t args <"$case_dir/args"
fi

ulimit -c 0
(cd "$work" && exec "$prog" "${args[@]}" </dev/null >"$work/.stdout" 2>"$work/.stderr")
rc=$?
if [ "$rc" -eq 134 ]; then status=abort; else status=$rc; fi

fail=0
expected_status=0
[ -f "$case_dir/status" ] && expected_status=$(tr -d '[:space:]' <"$case_dir/status")
if [ "$status" != "$expected_status" ]; then
  echo "exit status: expected $expected_status, got $status"
  fail=1
fi

compare() {  # compare EXPECTED ACTUAL LABEL
  local exp=$1 act=$2 label=$3
  if ! cmp -s "$exp" "$act"; then
    echo "--- $label differs (expected vs actual):"
    diff "$exp" "$act" | head -n 40
    fail=1
  fi
}

empty=$(mktemp "${TMPDIR:-/tmp}/golden-empty.XXXXXX")
trap 'rm -rf "$work" "$empty"' EXIT
for stream in stdout stderr; do
  if [ -f "$case_dir/$stream" ]; then
    compare "$case_dir/$stream" "$work/.$stream" "$stream"
  else
    compare "$empty" "$work/.$stream" "$stream"
  fi
done
rm -f "$work/.stdout" "$work/.stderr"

expected_list=$(cd "$case_dir/expected" 2>/dev/null && find . -type f | sort)
actual_list=$(cd "$work" && find . -type f | sort)
if [ "$expected_list" != "$actual_list" ]; then
  echo "--- files in the directory differ (expected vs actual):"
  diff <(echo "$expected_list") <(echo "$actual_list")
  fail=1
fi
while IFS= read -r f; do
  [ -n "$f" ] || continue
  [ -f "$work/$f" ] && compare "$case_dir/expected/$f" "$work/$f" "$f"
done <<<"$expected_list"

if [ "$fail" -ne 0 ]; then
  echo "FAILED: $case_dir"
  exit 1
fi
exit 0
