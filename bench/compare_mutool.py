#!/usr/bin/env python3
"""Our reader beside an open-source one on the same books, each run in a fresh process:
mutool (Debian's mupdf-tools) drawing an EPUB's first page and all its pages, and our
reader opening the same EPUB to its first page (painted into a PNG, bars and all, at the
same 1536 x 2048 pixels mutool is asked for) and
cutting the whole book into pages (until the book's page count is known).

Books of 1, 2.5 and 5 MB of paragraph text are written by bench_write_books; we open the
unpacked folder (what a host hands the reader), mutool the same files zipped into an .epub.
Each figure is the median wall time of the process over --runs runs; the goal is ours at
least 2x faster on the first page and on the whole book.

    bench/compare_mutool.py [--build build/release] [--runs 5] [--keep DIR]

Needs the release build's bench_read_book and bench_write_books
(cmake --build --preset release --target bench_read_book bench_write_books)
and mutool (apt-get install --no-install-recommends mupdf-tools).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SIZES = ((1.0, "1 MB"), (2.5, "2.5 MB"), (5.0, "5 MB"))


def zip_epub(folder, path):
    """The EPUB container: "mimetype" first and stored, everything else compressed."""
    with zipfile.ZipFile(path, "w") as archive:
        archive.write(os.path.join(folder, "mimetype"), "mimetype", compress_type=zipfile.ZIP_STORED)
        for directory, _, files in os.walk(folder):
            for name in sorted(files):
                full = os.path.join(directory, name)
                relative = os.path.relpath(full, folder)
                if relative != "mimetype":
                    archive.write(full, relative, compress_type=zipfile.ZIP_DEFLATED)


def wall_ms(command):
    started = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    elapsed = (time.perf_counter() - started) * 1000.0
    if result.returncode != 0:
        sys.exit(f"compare_mutool: {' '.join(command)} failed ({result.returncode})")
    return elapsed, result.stdout


def median_ms(command, runs):
    times, output = [], ""
    for _ in range(runs):
        elapsed, output = wall_ms(command)
        times.append(elapsed)
    return statistics.median(times), output


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build/release"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--keep", help="write the books and pictures here and keep them")
    options = parser.parse_args()

    mutool = shutil.which("mutool")
    if not mutool:
        sys.exit("compare_mutool: mutool is missing: apt-get install --no-install-recommends mupdf-tools")
    reader = os.path.join(options.build, "bench/bench_read_book")
    writer = os.path.join(options.build, "bench/bench_write_books")
    for tool in (reader, writer):
        if not os.access(tool, os.X_OK):
            sys.exit(f"compare_mutool: {tool} is missing: cmake --build --preset release "
                     "--target bench_read_book bench_write_books")

    work = options.keep or tempfile.mkdtemp(prefix="lectoro-compare-")
    os.makedirs(work, exist_ok=True)
    print(f"{'book':8s} {'what':34s} {'ours':>10s} {'mutool':>10s} {'ratio':>7s}")
    failed = False
    try:
        for megabytes, name in SIZES:
            folder = os.path.join(work, f"book-{megabytes}")
            epub = folder + ".epub"
            shutil.rmtree(folder, ignore_errors=True)
            subprocess.run([writer, "--epub", str(int(megabytes * 1024 * 1024)), folder], check=True)
            zip_epub(folder, epub)
            picture = os.path.join(work, f"first-{megabytes}")

            ours_first, _ = median_ms([reader, "first-page", folder, picture + "-ours.png"], options.runs)
            # The same pixels as ours: a pad's page at scale 2.
            theirs_first, _ = median_ms([mutool, "draw", "-q", "-w", "1536", "-h", "2048", "-o",
                                         picture + "-mutool.png", epub, "1"], options.runs)
            ours_all, counted = median_ms([reader, "all-pages", folder], options.runs)
            theirs_laid_out, _ = median_ms([mutool, "draw", "-q", "-F", "txt", "-o", os.devnull, epub], options.runs)
            theirs_drawn, _ = median_ms([mutool, "draw", "-q", "-w", "1536", "-h", "2048", "-F", "pgm", "-o", os.devnull, epub],
                                        max(1, options.runs // 2))
            pages = counted.split()[2] if len(counted.split()) > 2 else "?"

            rows = (
                ("first page", ours_first, theirs_first, True),
                (f"whole book ({pages} pages) vs laid out", ours_all, theirs_laid_out, True),
                ("whole book vs all pages drawn", ours_all, theirs_drawn, False),
            )
            for what, ours, theirs, goal in rows:
                ratio = theirs / ours if ours > 0 else float("inf")
                mark = ""
                if goal and ratio < 2.0:
                    mark = "  below 2x"
                    failed = True
                print(f"{name:8s} {what:34s} {ours:8.1f}ms {theirs:8.1f}ms {ratio:6.1f}x{mark}")
    finally:
        if not options.keep:
            shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
