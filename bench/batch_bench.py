#!/usr/bin/python3
"""A column of a million dates: taqwim-date -f converting them to Hijri, against GNU date -f
merely reformatting them, on the same ISO lines in one run.

    batch_bench.py PATH/TO/taqwim-date [LINES]

Prints the median wall-clock time of five interleaved runs of each, and their ratio.
"""

import datetime
import random
import statistics
import subprocess
import sys
import tempfile
import time

program = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000


def seconds(command, dates):
    with open(dates) as lines:
        start = time.perf_counter()
        subprocess.run(command, stdin=lines, stdout=subprocess.DEVNULL, check=True)
        return time.perf_counter() - start


with tempfile.NamedTemporaryFile("w", suffix=".txt") as dates:
    # Days of a century either side of 2000, as in staff records or an archive.
    first = datetime.date(1900, 1, 1).toordinal()
    last = datetime.date(2100, 12, 31).toordinal()
    generator = random.Random(1446)
    dates.writelines(datetime.date.fromordinal(generator.randint(first, last)).isoformat() + "\n"
                     for _ in range(count))
    dates.flush()
    runs = {"taqwim-date -f - -I": [], "date -f - +%F": []}
    for _ in range(5):
        runs["taqwim-date -f - -I"].append(seconds([program, "-f", "-", "-I"], dates.name))
        runs["date -f - +%F"].append(seconds(["date", "-f", "-", "+%F"], dates.name))

medians = {name: statistics.median(times) for name, times in runs.items()}
print(f"{count:,} ISO dates, median of 5 runs:")
for name, median in medians.items():
    print(f"  {name:<22} {median:6.3f} s  {median / count * 1e9:6.0f} ns a line")
print(f"  ratio                  {medians['taqwim-date -f - -I'] / medians['date -f - +%F']:.2f}")
