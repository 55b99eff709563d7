#!/usr/bin/python3
"""The real taqwim-cal, as users at a terminal and scripts run it.

    taqwim_cal_test.py PATH/TO/taqwim-cal PATH/TO/taqwim-date

What needs a process: exit statuses and messages, the languages of names and messages
from the environment, the layouts at a terminal's width, today's mark only on a terminal,
and the iCalendar file's identities across runs. taqwim-date names the months the grid must
show in each language. Exit status: 0 passed, 1 failed.
"""

import datetime
import os
import re
import subprocess
import sys
import tempfile
import unicodedata

PROGRAM, TAQWIM_DATE = sys.argv[1], sys.argv[2]
failures = []


def run(*args, env=None, program=PROGRAM, stdin=None):
    done = subprocess.run([program, *args], capture_output=True, text=True, input=stdin,
                          env={**os.environ, "LANG": "C.UTF-8", "LC_ALL": "", "COLUMNS": "80",
                               **(env or {})}, timeout=10)
    return done.returncode, done.stdout, done.stderr


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, expected {expected!r}")


def cells(line):
    """The cells a terminal gives the text."""
    return sum(0 if unicodedata.category(c) in ("Mn", "Me", "Cf") else
               2 if unicodedata.east_asian_width(c) in ("W", "F") else 1 for c in line)


def refuses(args, status, mentions, env=None):
    code, out, err = run(*args, env=env)
    check(f"status of {args}", code, status)
    check(f"output of {args}", out, "")
    if mentions not in err or not err.startswith("taqwim-cal: "):
        failures.append(f"{args}: message {err!r} should name {mentions!r}")
    if status == 2:
        check(f"lines of {args}", len(err.splitlines()), 2)


def statuses():
    check("a month", run("9", "1445")[0], 0)
    check("today's month", run()[0], 0)
    refuses(["13", "1445"], 1, "1 to 12")
    refuses(["0", "1445"], 1, "1 to 12")
    refuses(["10000"], 1, "1 to 9999")
    code, out, err = run("2024")  # a Gregorian year typed without -g
    check("a year centuries ahead is told of", (code, bool(out), "add -g" in err), (0, True, True))
    refuses(["-g", "0"], 1, "1 to 9999")
    refuses(["--from", "30/9/1446", "--until", "1/10/1446"], 1, "29")
    refuses(["--from", "1/10/1446", "--until", "1/9/1446"], 1, "--until")
    refuses(["-g", "--ics", "--from", "1/1/9999", "--until", "31/12/9999"], 1, "9999")
    for args in (["--frobnicate"], ["-x"], ["nine", "1445"], ["1", "2", "1445"], ["--days"],
                 ["--ics", "--occasions"], ["--from", "1/1/1445"], ["--color=sometimes"],
                 ["--from", "1/1/1445", "--until", "1/2/1445", "-3"], ["-A", "x"],
                 ["--adjust=3"], ["--digits=roman"]):
        code, _, err = run(*args)
        check(f"status of {args}", code, 2)
        check(f"lines of {args}", len(err.splitlines()), 2)
    code, out, _ = run("--help")
    check("--help", (code, "Usage: taqwim-cal" in out, "--occasions" in out), (0, True, True))
    code, out, _ = run("--version")
    check("--version", (code, out.split("\n")[0]), (0, "taqwim-cal (Taqwim) 2.0"))
    with open("/dev/full", "w") as full:
        done = subprocess.run([PROGRAM, "-y"], stdout=full, stderr=subprocess.PIPE, text=True)
    check("a write that fails", (done.returncode, done.stderr.count("\n")), (1, 1))


def languages():
    arabic = {"LANG": "ar_SA.UTF-8"}
    refuses(["13", "1445"], 1, "12", env=arabic)
    code, _, err = run("--frobnicate", env=arabic)
    check("an Arabic usage message", (code, "جرّب" in err), (2, True))
    # The names are those taqwim-date gives, in each language.
    for time_locale in ("ar_SA.UTF-8", "tr_TR.UTF-8", "ms_MY.UTF-8", "C.UTF-8"):
        env = {"LC_TIME": time_locale}
        ramadan = run("-H", "-d", "1/9/1445", "+%B", env=env, program=TAQWIM_DATE)[1].strip()
        march = run("-d", "2024-03-11", "+%B", env=env, program=TAQWIM_DATE)[1].strip()
        shown = plain(run("9", "1445", env=env)[1])  # in reading order, into a pipe
        check(f"the Hijri month under {time_locale}", ramadan in shown, True)
        check(f"the Gregorian month under {time_locale}", march in shown, True)
    english = run("--occasions", "1445")[1]
    check("occasions in English", "Eid al-Fitr" in english, True)
    arabic_occasions = run("--occasions", "1445", env=arabic)[1]
    check("occasions in Arabic", "عيد الفطر" in arabic_occasions, True)


def plain(text):
    """The text without escapes and invisible marks."""
    return re.sub("\x1b\\[[0-9;]*[a-zA-Z]|[\u200e\u200f\u202c\u202d\u2066-\u2069]", "",
                  text)


def layouts():
    code, out, _ = run("-3", "9", "1445")
    lines = out.splitlines()
    check("-3 in 80 columns", max(cells(plain(line)) for line in lines) <= 80, True)
    check("-3 side by side", [m in lines[0] for m in ("Sha", "Ram", "Shaw")], [True] * 3)
    for columns, per_row in (("80", 3), ("60", 2), ("30", 1)):
        lines = run("-y", "1446", env={"COLUMNS": columns})[1].splitlines()
        check(f"-y in {columns} columns", max(cells(line) for line in lines) <= int(columns), True)
        check(f"-y's year over the months", lines[0].strip(), "1446 AH")
        # The year's line, then the rows, each after a blank line.
        check(f"-y rows in {columns} columns", lines.count(""), (12 + per_row - 1) // per_row)


def today():
    for color in ("--color=always", "--color=never", "--color"):
        out = run(color)[1]
        check(f"today's mark with {color}", "\x1b[7m" in out, color != "--color=never")
    check("no mark into a pipe", "\x1b" in run()[1], False)


def occasions():
    lines = run("--occasions", "-g", "2033")[1].splitlines()
    eids = [line for line in lines if "Eid al-Fitr" in line]
    check("Eid al-Fitr twice in 2033", [line[:4] for line in eids], ["2033", "2033"])
    code, out, _ = run("--occasions", "1445")
    check("the first of Ramadan 1445", "2024-03-11  1445-09-01  First of Ramadan" in out, True)
    check("ten occasions a year", (code, len(out.splitlines())), (0, 10))
    check("this year's occasions", len(run("--occasions")[1].splitlines()), 10)
    adjusted = run("--occasions", "--adjust=1", "1445")[1]
    check("a day earlier by sighting", "2024-03-10  1445-09-01  First of Ramadan" in adjusted, True)
    check("a month's occasions", len(run("--occasions", "9", "1445")[1].splitlines()), 2)
    # Each Hijri date listed reads back through taqwim-date as its Gregorian day, in years
    # before the Hijra and at the ends of the years the programs take.
    for year in (["-g", "1"], ["-g", "600"], ["9999"]):
        listed = [line.split("  ")[:2] for line in run("--occasions", *year)[1].splitlines()
                  if ", from " not in line]  # a night is listed on the evening before
        hijri = "".join(h + "\n" for _, h in listed)
        read_back = run("-H", "-f", "-", "-I", program=TAQWIM_DATE, stdin=hijri)[1].splitlines()
        check(f"the Hijri dates of {year} read back", read_back, [g for g, _ in listed])


def icalendar():
    args = ["--ics", "--days", "9", "1445"]
    first, second = run(*args)[1], run(*args)[1]
    uids = [re.findall("^UID:(.*)$", text, re.M) for text in (first, second)]
    check("UIDs across runs", uids[0], uids[1])
    check("events", len(uids[0]), 30 + 2)
    check("UIDs distinct", len(set(uids[0])), len(uids[0]))
    moved = run("--ics", "--adjust=1", "9", "1445")[1]
    check("an occasion moved by --adjust keeps its UID",
          set(re.findall("^UID:(.*)$", moved, re.M)) <= set(uids[0]), True)


def community():
    """The settings and months files of taqwim-date(1)'s FILES, as a mosque would ship them."""
    with tempfile.TemporaryDirectory() as system, tempfile.TemporaryDirectory() as home:
        os.mkdir(f"{system}/taqwim")
        with open(f"{system}/taqwim/config", "w") as config:
            config.write("calendar = umalqura\nlocation = 24.69,46.72\nsunset = yes\n")
        with open(f"{system}/taqwim/months", "w") as months:
            months.write("# Ramadan 1446 was announced for Sunday 2 March 2025.\n"
                         "1446-09 2025-03-02\n")
        env = {"XDG_CONFIG_DIRS": system, "XDG_CONFIG_HOME": home, "TZ": "<+03>-3"}
        evening = int(datetime.datetime(2025, 3, 1, 20, tzinfo=datetime.timezone(
            datetime.timedelta(hours=3))).timestamp())
        for date, line in (("2025-03-01", "Saturday, 30 Shaʻban 1446 AH, which is 1 March 2025 AD"),
                           (f"@{evening}", "Saturday, 1 Ramadan 1446 AH, which is 1 March 2025 AD")):
            check(f"taqwim-date -d {date}", run("-d", date, env=env, program=TAQWIM_DATE)[1],
                  line + "\n")
        listed = run("--occasions", "9", "1446", env=env)[1].splitlines()
        check("the recorded Ramadan, and its night at sunset", listed,
              ["2025-03-02  1446-09-01  First of Ramadan",
               "2025-03-27  1446-09-27  Laylat al-Qadr, from 18:07"])
        night = run("--ics", "9", "1446", env=env)[1]
        check("the night's event from sunset to sunrise",
              re.findall("^DTSTART:(.*)$", night, re.M), ["20250327T150700Z"])


for group in [statuses, languages, layouts, today, occasions, icalendar, community]:
    group()
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
