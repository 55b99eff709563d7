#!/usr/bin/python3
"""A column of a million dates: taqwim-date -f converting them to Hijri, against GNU date -f
merely reformatting them, on the same ISO lines in one run; then a dialogue through pipes,
a line written and its answer read before the next, as a panel or a script's coprocess
talks to it.

    batch_bench.py PATH/TO/taqwim-date [LINES]

Prints the median wall-clock time of five interleaved runs of each and their ratio, and the
median time from writing a line to reading its answer.
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
exchanges = 2000


def seconds(command, dates):
    with open(dates) as lines:
        start = time.perf_counter()
        subprocess.run(command, stdin=lines, stdout=subprocess.DEVNULL, check=True)
        return time.perf_counter() - start


def answer_times(dates):
    talk = subprocess.Popen([program, "-f", "-", "-I"], stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE, bufsize=0)
    times = []
    for date in dates:
        start = time.perf_counter()
        talk.stdin.write(date)
        talk.stdout.readline()
        times.append(time.perf_counter() - start)
    talk.stdin.close()
    talk.wait()
    return times


with tempfile.NamedTemporaryFile("w", suffix=".txt") as dates:
    # Days of a century either side of 2000, as in staff records or an archive.
    first = datetime.date(1900, 1, 1).toordinal()
    last = datetime.date(2100, 12, 31).toordinal()
    generator = random.Random(1446)
    column = [datetime.date.fromordinal(generator.randint(first, last)).isoformat() + "\n"
              for _ in range(count)]
    dates.writelines(column)
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
answers = answer_times([line.encode() for line in column[:exchanges]])
print(f"{exchanges:,} lines through pipes, each answered before the next is written:")
print(f"  a line to its answer   {statistics.median(answers) * 1e6:6.0f} µs median, "
      f"{max(answers) * 1e3:.1f} ms at most")
