#!/usr/bin/python3
"""A column of a million dates: taqwim-date -f converting them to Hijri, against GNU date -f
merely reformatting them, on the same ISO lines in one run; the same column by the calendar
a community keeps (another reckoning, a year of month starts recorded), and a column of
instants with and without the day that begins at sunset; then a dialogue through pipes, a
line written and its answer read before the next, as a panel or a script's coprocess talks
to it.

    batch_bench.py PATH/TO/taqwim-date [LINES]

Prints the median wall-clock time of five interleaved runs of each and their ratio, and the
median time from writing a line to reading its answer. The programs read no one's settings.
"""

import datetime
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

program = sys.argv[1]
count = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
exchanges = 2000


NO_SETTINGS = {**os.environ, "XDG_CONFIG_HOME": "/nonexistent", "XDG_CONFIG_DIRS": "/nonexistent",
               "TZ": "Asia/Riyadh"}


def seconds(command, dates):
    with open(dates) as lines:
        start = time.perf_counter()
        subprocess.run(command, stdin=lines, stdout=subprocess.DEVNULL, check=True,
                       env=NO_SETTINGS)
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


def written(folder, name, lines):
    path = os.path.join(folder, name)
    with open(path, "w") as file:
        file.writelines(lines)
    return path


with tempfile.TemporaryDirectory() as folder:
    # Days of a century either side of 2000, as in staff records or an archive.
    first = datetime.date(1900, 1, 1).toordinal()
    last = datetime.date(2100, 12, 31).toordinal()
    generator = random.Random(1446)
    days = [datetime.date.fromordinal(generator.randint(first, last)) for _ in range(count)]
    column = [day.isoformat() + "\n" for day in days]
    dates = written(folder, "dates", column)
    instants = written(folder, "instants", [
        f"@{int(datetime.datetime(d.year, d.month, d.day, 20).timestamp())}\n" for d in days])
    # The months of 1446 each a day after Umm al-Qura's.
    months = written(folder, "months", [f"1446-{m:02d} " + (datetime.date.fromisoformat(
        subprocess.run([program, "-H", "-d", f"1446-{m:02d}-01", "+%F"], capture_output=True,
                       text=True, check=True).stdout.strip()) + datetime.timedelta(1)).isoformat()
        + "\n" for m in range(1, 13)])
    commands = {
        "taqwim-date -f - -I": ([program, "-f", "-", "-I"], dates),
        "date -f - +%F": (["date", "-f", "-", "+%F"], dates),
        "  --calendar=civil": ([program, "-f", "-", "-I", "--calendar=civil"], dates),
        "  --months (1446)": ([program, "-f", "-", "-I", f"--months={months}"], dates),
        "@SECONDS at 20:00": ([program, "-f", "-", "-I"], instants),
        "  --sunset": ([program, "-f", "-", "-I", "--sunset"], instants),
    }
    runs = {name: [] for name in commands}
    for _ in range(5):
        for name, (command, lines) in commands.items():
            runs[name].append(seconds(command, lines))

medians = {name: statistics.median(times) for name, times in runs.items()}
print(f"{count:,} lines, median of 5 runs:")
for name, median in medians.items():
    print(f"  {name:<22} {median:6.3f} s  {median / count * 1e9:6.0f} ns a line")
print(f"  ratio to date(1)       {medians['taqwim-date -f - -I'] / medians['date -f - +%F']:.2f}")
answers = answer_times([line.encode() for line in column[:exchanges]])
print(f"{exchanges:,} lines through pipes, each answered before the next is written:")
print(f"  a line to its answer   {statistics.median(answers) * 1e6:6.0f} µs median, "
      f"{max(answers) * 1e3:.1f} ms at most")
