#!/usr/bin/python3
"""The examples of the manual pages and the README, run: every command shown with what it
prints is run, and must print that, so that no example can drift from the program.

    examples_test.py BINDIR FILE...

In a manual page's EXAMPLES, the lines that start with "# " after a command are what it
prints; in the README's console blocks, the lines after a "$ " command up to the next one.
A command shown without them is not run. Each runs in a folder of its own, with the
programs of BINDIR first on the PATH, under the C locale, in Riyadh's time zone.
Exit status: 0 passed, 1 failed.
"""

import os
import re
import subprocess
import sys
import tempfile

BINDIR = os.path.abspath(sys.argv[1])
failures = []


def troff_text(line):
    return line.replace("\\-", "-").replace("\\(aq", "'").replace("\\(dq", '"').replace("\\\\", "\\")


def manual_examples(path):
    """(command, output) pairs of the EXAMPLES section's no-fill blocks."""
    text = open(path, encoding="utf-8").read()
    section = text[text.index(".SH EXAMPLES"):]
    section = section[:section.index("\n.SH ", 1)]
    for block in re.findall(r"^\.nf\n(.*?)^\.fi$", section, re.S | re.M):
        command, output = None, []
        for line in map(troff_text, block.splitlines()):
            if line.startswith("# ") or line == "#":
                output.append(line[2:])
                continue
            if command and output:
                yield command, output
            command, output = line, []
        if command and output:
            yield command, output


def readme_examples(path):
    """(command, output) pairs of the README's console blocks."""
    text = open(path, encoding="utf-8").read()
    for block in re.findall(r"^```console\n(.*?)^```$", text, re.S | re.M):
        command, output = None, []
        for line in block.splitlines():
            if line.startswith("$ "):
                if command and output:
                    yield command, output
                command, output = line[2:], []
            elif command:
                output.append(line)
        if command and output:
            yield command, output


def run(command, expected, source):
    env = {**os.environ, "PATH": f"{BINDIR}:{os.environ['PATH']}", "LANG": "C.UTF-8",
           "LC_ALL": "", "LC_TIME": "", "LC_MESSAGES": "", "LANGUAGE": "", "TZ": "<+03>-3",
           "COLUMNS": "80"}
    with tempfile.TemporaryDirectory() as folder:
        done = subprocess.run(["bash", "-c", command], capture_output=True, text=True,
                              cwd=folder, env=env, timeout=30)
    shown = done.stdout.splitlines()
    if shown != expected:
        failures.append(f"{source}: {command!r} printed {shown!r}, not {expected!r}"
                        + (f" ({done.stderr.strip()})" if done.stderr else ""))


count = 0
for path in sys.argv[2:]:
    examples = readme_examples(path) if path.endswith(".md") else manual_examples(path)
    for command, output in examples:
        run(command, output, os.path.basename(path))
        count += 1
if count == 0:
    failures.append("no example was found")
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
