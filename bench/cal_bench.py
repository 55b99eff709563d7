#!/usr/bin/python3
"""taqwim-cal's largest outputs: an iCalendar file with an event for every day, of a hundred
Hijri years and of every Gregorian year a calendar file holds (1583 to 9999), a year's view,
and the grids of every Hijri year but the first and the last; each written as it goes.

    cal_bench.py PATH/TO/taqwim-cal

Prints the median wall-clock time of the runs of each, its peak memory and the size of what
it wrote.
"""

import resource
import statistics
import subprocess
import sys
import time

program = sys.argv[1]
runs = {
    "--ics --days, 1400-1499 AH": ([program, "--ics", "--days", "--from", "1/1/1400",
                                    "--until", "29/12/1499"], 5),
    "-y 1446 (a year's grids)": ([program, "-y", "1446"], 5),
    "--ics --days, 1583-9999 AD": ([program, "--ics", "--days", "-g", "--from", "1583-01-01",
                                    "--until", "9999-12-30"], 3),
    "grids of 2-9998 AH": ([program, "--from", "1/1/0002", "--until", "29/12/9998"], 3),
}


def measured(command):
    """Seconds, peak memory in MB and bytes written, of one run in a process of its own."""
    script = ("import resource, subprocess, sys, time; start = time.perf_counter(); "
              "size = 0\n"
              "with subprocess.Popen(sys.argv[1:], stdout=subprocess.PIPE) as run:\n"
              "    for block in iter(lambda: run.stdout.read(1 << 20), b''): size += len(block)\n"
              "print(time.perf_counter() - start, "
              "resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024, size)")
    done = subprocess.run([sys.executable, "-c", script, *command], capture_output=True,
                          text=True, check=True)
    seconds, megabytes, size = done.stdout.split()
    return float(seconds), float(megabytes), int(size)


print("median of the runs:")
for name, (command, count) in runs.items():
    results = [measured(command) for _ in range(count)]
    median = statistics.median(seconds for seconds, _, _ in results)
    print(f"  {name:<28} {median:8.3f} s  {max(mb for _, mb, _ in results):6.1f} MB peak"
          f"  {results[0][2]:>13,} bytes")
