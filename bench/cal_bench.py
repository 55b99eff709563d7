#!/usr/bin/python3
"""taqwim-cal's two largest outputs: an iCalendar file of a hundred Hijri years with an
event for every day, and a year's view.

    cal_bench.py PATH/TO/taqwim-cal

Prints the median wall-clock time of five runs of each, and the size of the file.
"""

import statistics
import subprocess
import sys
import time

program = sys.argv[1]
runs = {
    "--ics --days, 1400-1499 AH": [program, "--ics", "--days", "--from", "1/1/1400",
                                   "--until", "29/12/1499"],
    "-y 1446 (a year's grids)": [program, "-y", "1446"],
}


def seconds(command):
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.PIPE, check=True)
    return time.perf_counter() - start, len(done.stdout)


print("median of 5 runs:")
for name, command in runs.items():
    results = [seconds(command) for _ in range(5)]
    median = statistics.median(time for time, _ in results)
    print(f"  {name:<28} {median * 1000:7.1f} ms  {results[0][1]:>12,} bytes")
