#!/usr/bin/env bash
# Runs one libFuzzer target for a fixed time, starting from its committed seed corpus.
#
#   fuzz.sh TARGET SEED_FOLDER SECONDS
#
# What it finds is kept beside the target (fuzz-<name>/): the grown corpus and, for a
# crash, a leak or a sanitizer report, the input that caused it; the command that
# replays that input is printed.
set -euo pipefail

target=$1 seeds=$2 seconds=$3
name=$(basename "$target")
work="$(dirname "$target")/fuzz-$name"
mkdir -p "$work/corpus" "$work/artifacts"

status=0
timeout -k 10 $((seconds + 60)) "$target" -max_total_time="$seconds" -timeout=10 \
  -rss_limit_mb=4096 -max_len=8192 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
  for input in "$work"/artifacts/*; do
    [ -e "$input" ] && echo "replay: $target $input"
  done
  exit "$status"
fi
