#!/usr/bin/env python3
"""Start-up of the example host as a user feels it: from exec to main, and from exec to the
first page of a book on screen (the launcher's 0.5 s embedding delay included; it is printed
apart). Each run is a new process with a new store, as a first launch is.

    bench/host_start.py [--host build/release/examples/host/lectoro-host] [--book FOLDER] [--runs 15]

Reads the host's --timings lines ("Main began at …", "First page shown at …", on the
monotonic clock, which this script reads too). Exec to main is the dynamic loader's work
(every library the host links, and theirs); main to the first page is the reader's.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
EMBEDDING_DELAY_MS = 500.0


def run_once(host, book):
    started = time.monotonic_ns() / 1e6
    process = subprocess.Popen([host, "--timings", "--pages", "0", "--book", book],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    main_began = first_page = None
    for line in process.stdout:
        if line.startswith("Main began at "):
            main_began = float(line.split()[3])
        elif line.startswith("First page shown at "):
            first_page = float(line.split()[4])
    process.wait()
    if main_began is None or first_page is None:
        sys.exit(f"the host printed no timings (exit {process.returncode}); is it built with --timings?")
    return main_began - started, first_page - started


def summary(values):
    return f"min {min(values):7.1f} ms   median {statistics.median(values):7.1f} ms"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", default=os.path.join(ROOT, "build/release/examples/host/lectoro-host"))
    parser.add_argument("--book", default=os.path.join(ROOT, "samples/books/sample-pagebook"))
    parser.add_argument("--runs", type=int, default=15)
    options = parser.parse_args()

    run_once(options.host, options.book)  # the files into the system's cache
    to_main, to_page = [], []
    for _ in range(options.runs):
        a, b = run_once(options.host, options.book)
        to_main.append(a)
        to_page.append(b)
    print(f"book: {options.book} ({options.runs} runs)")
    print(f"exec to main:                         {summary(to_main)}")
    print(f"exec to first page:                   {summary(to_page)}")
    print(f"exec to first page less the 0.5 s delay: {summary([v - EMBEDDING_DELAY_MS for v in to_page])}")
    print(f"main to first page less the 0.5 s delay: {summary([p - m - EMBEDDING_DELAY_MS for m, p in zip(to_main, to_page)])}")


if __name__ == "__main__":
    main()
