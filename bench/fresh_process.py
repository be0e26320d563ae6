#!/usr/bin/env python3
"""Figures that only a new process shows, each case run alone in a process of its own, several
times (min and median):

- cold opening to the first page (bench_open_book's Cold cases: the 2,000-page book and the
  5 MB EPUB, with an empty store in memory and with 10,000 annotations stored on disk), wall
  time and the main thread's CPU time (on a busy machine the wall time waits for a core);
- the first read of 10,000 highlights, and the first read answered from the kept list
  (bench_store's BM_HighlightsInAFreshProcess), and the same for a reader that takes the
  store's shared list (BM_SharedHighlightsInAFreshProcess), with the pages each touched for
  the first time.

    bench/fresh_process.py [--build build/release] [--runs 9]
"""

import argparse
import json
import os
import statistics
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def run(binary, benchmark_filter):
    output = subprocess.run([binary, f"--benchmark_filter={benchmark_filter}", "--benchmark_format=json"],
                            check=True, capture_output=True, text=True).stdout
    return json.loads(output)["benchmarks"][0]


def line(name, values):
    return f"{name:46s} min {min(values):7.2f} ms   median {statistics.median(values):7.2f} ms"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build/release"))
    parser.add_argument("--runs", type=int, default=9)
    options = parser.parse_args()
    open_book = os.path.join(options.build, "bench/bench_open_book")
    store = os.path.join(options.build, "bench/bench_store")

    for epub, book in ((0, "2,000-page book"), (1, "5 MB EPUB")):
        for stored, what in ((0, "empty store"), (1, "10,000 annotations")):
            times, cpu = [], []
            for _ in range(options.runs):
                result = run(open_book, f"Cold/epub:{epub}/stored:{stored}/")
                times.append(result["real_time"])
                cpu.append(result["cpu_time"])
            print(line(f"cold open, {book}, {what}", times))
            print(line("  its main thread's CPU time", cpu))

    cases = (
        ("BM_HighlightsInAFreshProcess", (("first_read_ms", "10,000 highlights, first read"),
                                          ("kept_ms", "10,000 highlights, second read (kept)"),
                                          ("kept_first_copy_ms", "10,000 highlights, first read from the kept list"))),
        ("BM_SharedHighlightsInAFreshProcess", (("first_read_ms", "10,000 highlights shared, first read"),
                                                ("kept_ms", "10,000 highlights shared, from the kept list"))),
    )
    for benchmark, counters in cases:
        values = {name: [] for name, _ in counters}
        faults = {}
        for _ in range(options.runs):
            result = run(store, benchmark)
            for name in values:
                values[name].append(result[name])
            for name in result:
                if name.endswith("_faults"):
                    faults.setdefault(name, []).append(result[name])
        for name, label in counters:
            print(line(label, values[name]))
        # Pages touched for the first time: on a virtual machine each costs more than the work.
        for name, counts in faults.items():
            print(f"  {benchmark} {name}: median {statistics.median(counts):.0f} new pages")


if __name__ == "__main__":
    main()
