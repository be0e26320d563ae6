#!/usr/bin/env bash
# Runs every fuzzer in a folder for a bounded number of runs, seeded from fuzz/corpus/<name>,
# FUZZ_JOBS (default: the number of processors) at a time. Fails if any fuzzer fails, after
# showing the end of its log and where the inputs that broke it were kept.
set -euo pipefail
dir=$1; runs=${2:-20000}
jobs=${FUZZ_JOBS:-$(nproc)}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob

# Several fuzzers build folders, files and stores for every input (downloads, EPUB folders, the
# service's answers) and spend most of a run in the file system; a memory-backed temporary folder,
# where the machine has one with room, about halves their time. Their inputs and logs go there too.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ] \
  && [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -ge $((512 * 1024)) ]; then
  export TMPDIR=/dev/shm
fi

run_one() {
  local f=$1 name work corpus
  name=$(basename "$f")
  corpus="$root/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  echo "fuzz: $name ($runs runs)"
  # Crash inputs land beside the log (not in the current folder) and are kept on failure.
  # -entropic=0: with the whole library instrumented, the entropic schedule's bookkeeping
  # costs about three times the run itself, and a bounded CI run wants the runs.
  if ! "$f" -runs="$runs" -max_len=4096 -timeout=10 -entropic=0 -artifact_prefix="$work-" "$work" >"$work.log" 2>&1; then
    tail -50 "$work.log"
    echo "fuzz: $name failed; inputs that broke it: $(ls "$work"-* 2>/dev/null | tr '\n' ' ')" >&2
    return 1
  fi
  rm -rf "$work" "$work.log"
}

# The slowest fuzzers start first, so the last ones to finish are short and every processor
# stays busy to the end. The service-answer fuzzer (a store written per input) alone is about a
# quarter of the stage.
slowest_first=(fuzz_service_answer_store fuzz_download_state fuzz_epub_folder fuzz_media_book fuzz_media_file)
fuzzers=()
for name in "${slowest_first[@]}"; do
  [ -x "$dir/$name" ] && fuzzers+=("$dir/$name")
done
for f in "$dir"/fuzz_*; do
  [ -x "$f" ] && [[ " ${slowest_first[*]} " != *" $(basename "$f") "* ]] && fuzzers+=("$f")
done
[ ${#fuzzers[@]} -gt 0 ] || { echo "fuzz: no fuzzers in $dir" >&2; exit 1; }

failed=0
running=0
for f in "${fuzzers[@]}"; do
  run_one "$f" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
[ $failed = 0 ] || { echo "fuzz: at least one fuzzer failed" >&2; exit 1; }
echo "fuzz: ${#fuzzers[@]} fuzzers passed"
