#!/usr/bin/env bash
# Runs every fuzzer in a folder for a bounded number of runs, seeded from fuzz/corpus/<name>.
set -euo pipefail
dir=$1; runs=${2:-20000}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
found=0
for f in "$dir"/fuzz_*; do
  [ -x "$f" ] || continue
  found=1
  name=$(basename "$f")
  corpus="$root/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzz: $name ($runs runs)"
  "$f" -runs="$runs" -max_len=4096 -timeout=10 "$work" >"$work.log" 2>&1 || { tail -50 "$work.log"; exit 1; }
  rm -rf "$work" "$work.log"
done
[ $found = 1 ] || { echo "fuzz: no fuzzers in $dir" >&2; exit 1; }
