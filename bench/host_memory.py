#!/usr/bin/env python3
"""Peak resident memory of the example host, measured by the system (the process's high-water
mark, from wait4): the 5 MB, 300-chapter bench EPUB opened and searched through the reader's
search panel for a word it does not hold (so the whole book is scanned), and, for comparison,
the bench page book and the EPUB opened and read for a few pages.

    bench/host_memory.py [--build build/release] [--runs 5]
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def peak_rss_mb(arguments):
    process = subprocess.Popen(arguments, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    output = process.stdout.read()
    _, status, usage = os.wait4(process.pid, 0)
    code = os.waitstatus_to_exitcode(status)
    return usage.ru_maxrss / 1024.0, code, output


def peak_breakdown_mb(arguments):
    """The largest resident total seen while the process runs (sampled every 20 ms from
    /proc/PID/smaps), split into the pages of shared libraries and the rest."""
    process = subprocess.Popen(arguments, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    best = (0, 0)
    while process.poll() is None:
        total = libraries = 0
        name = ""
        try:
            with open(f"/proc/{process.pid}/smaps") as maps:
                for line in maps:
                    if line[0] in "0123456789abcdef" and "-" in line.split()[0]:
                        fields = line.split()
                        name = fields[5] if len(fields) > 5 else ""
                    elif line.startswith("Rss:"):
                        kb = int(line.split()[1])
                        total += kb
                        libraries += kb if ".so" in name else 0
        except OSError:
            break
        if total > best[0]:
            best = (total, libraries)
        time.sleep(0.02)
    return best[0] / 1024.0, best[1] / 1024.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build/release"))
    parser.add_argument("--runs", type=int, default=5)
    options = parser.parse_args()
    host = os.path.join(options.build, "examples/host/lectoro-host")
    writer = os.path.join(options.build, "bench/bench_write_books")

    with tempfile.TemporaryDirectory(prefix="lectoro-bench-memory-") as folder:
        subprocess.run([writer, folder], check=True)
        epub = os.path.join(folder, "epub")
        cases = [
            ("EPUB 5 MB, whole-book search", [host, "--demo-search", "zebra", "--book", epub]),
            ("EPUB 5 MB, opened, 3 pages", [host, "--book", epub]),
            ("page book 2,000 pages, opened, 3 pages", [host, "--book", os.path.join(folder, "pagebook")]),
        ]
        for name, arguments in cases:
            peaks = []
            for _ in range(options.runs):
                peak, code, output = peak_rss_mb(arguments)
                if code not in (0, 3):
                    sys.exit(f"{name}: the host failed (exit {code}):\n{output}")
                peaks.append(peak)
            print(f"{name:42s} peak RSS min {min(peaks):6.1f} MB   median {statistics.median(peaks):6.1f} MB")
        total, libraries = peak_breakdown_mb(cases[0][1])
        print(f"{cases[0][0]}, sampled: {total:.1f} MB at the peak, of which {libraries:.1f} MB are pages of shared "
              f"libraries and {total - libraries:.1f} MB the process's own")


if __name__ == "__main__":
    main()
