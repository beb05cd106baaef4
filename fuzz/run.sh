#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, each on a
# scratch copy of its committed seed corpus, and fails on any finding
# (sanitizer report, crash, hang past -timeout, memory past -rss_limit_mb).
# Usage: fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET [TARGET...]]
# A dictionary corpus/<target>.dict, when present, is passed along.
# A finding leaves its input in BUILD_DIR/fuzz/findings/; replay it with
#   BUILD_DIR/fuzz/fuzz_<target> FILE
set -uo pipefail

build=$(cd "${1:?usage: run.sh BUILD_DIR [SECONDS [TARGET...]]}" && pwd)
seconds=${2:-60}
shift $(( $# >= 2 ? 2 : 1 ))
manifest="$build/fuzz/targets.txt"
[ -f "$manifest" ] || { echo "run.sh: no $manifest (configure with -DPROJ_FUZZ=ON and clang)"; exit 2; }

findings="$build/fuzz/findings"
mkdir -p "$findings"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/fuzz-run.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
stamp="$scratch/.start"
touch "$stamp"

passed=0
failed=0
failed_names=()
while read -r name max_len exe corpus; do
  [ -n "$name" ] || continue
  if [ "$#" -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  work="$scratch/$name"
  mkdir -p "$work"
  [ -d "$corpus" ] && cp -a "$corpus/." "$work/"
  echo "== fuzz $name: ${seconds}s, max_len $max_len"
  log="$build/fuzz/$name.log"
  dict=()
  [ -f "$corpus.dict" ] && dict=(-dict="$corpus.dict")
  # -close_fd_mask=3: the programs' own standard output and failure reports
  # are expected and only noise here; sanitizer reports still get through.
  "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
    -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$findings/$name-" "${dict[@]}" \
    "$work" </dev/null >"$log" 2>&1
  rc=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|stat::new_units_added)' "$log" | sed 's/^/   /'
  if [ "$rc" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failed_names+=("$name")
    echo "!! fuzz $name FAILED (status $rc); the end of its log:"
    tail -n 60 "$log"
    find "$findings" -maxdepth 1 -type f -name "$name-*" -newer "$stamp" | while read -r f; do
      echo "!! finding $f (base64):"
      base64 "$f" | head -n 40
    done
  fi
done <"$manifest"

echo "fuzz: $passed passed, $failed failed"
if [ "$failed" -gt 0 ]; then
  echo "fuzz findings in: ${failed_names[*]}"
  exit 1
fi
exit 0
