#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Skarnwing developers
# SPDX-License-Identifier: GPL-3.0-or-later

# run.sh BUILD_FUZZ SECONDS [TARGET...]: runs each fuzz target (by default every one built) for
# SECONDS on one core, on its seeds and its growing corpus in BUILD_FUZZ/corpus/TARGET. A finding
# stops the run with the sanitizer's report and leaves the input in BUILD_FUZZ/findings/.
set -euo pipefail
build=$1
seconds=$2
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/fuzz-*; do
    if [ -f "$program" ] && [ -x "$program" ]; then targets+=("${program##*/fuzz-}"); fi
  done
fi
# FUZZ_RUNS, when set, also ends each run after that many executions.
runs=()
if [ -n "${FUZZ_RUNS:-}" ]; then runs=(-runs="$FUZZ_RUNS"); fi
mkdir -p "$build/findings"
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log="$build/fuzz-$t.log"
  # Small pictures and sheet corners reach every path of their readers; larger inputs only slow
  # each execution down.
  max_len=65536
  case $t in picture | font_sheet | best) max_len=8192 ;; esac
  echo "fuzz: $t for ${seconds} s"
  # The loaders' one-line messages would fill the log, so the target's stderr is closed; a finding
  # is run again below to show its report.
  if ! "$build/fuzz-$t" -max_total_time="$seconds" "${runs[@]}" -timeout=60 -rss_limit_mb=2560 -max_len="$max_len" \
      -close_fd_mask=2 -print_final_stats=1 -artifact_prefix="$build/findings/$t-" \
      "$build/corpus/$t" "$build/seeds/$t" > "$log" 2>&1; then
    tail -n 30 "$log"
    for finding in "$build/findings/$t-"*; do
      [ -e "$finding" ] && { "$build/fuzz-$t" "$finding" 2>&1 | tail -n 60; } || true
    done
    echo "fuzz: $t FOUND A FAULT (input in $build/findings/)"
    exit 1
  fi
  grep -E '^#[0-9]+.*(DONE|pulse)|stat::number_of_executed_units|stat::peak_rss_mb' "$log" | tail -n 3
done
