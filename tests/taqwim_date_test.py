#!/usr/bin/python3
"""The real taqwim-date, as scripts, panels and users at a terminal run it.

    taqwim_date_test.py PATH/TO/taqwim-date

Each group of checks runs the program as a child process and compares what it prints
and the status it exits with. Exit status: 0 passed, 1 failed.
"""

import datetime
import os
import subprocess
import sys
import tempfile

PROGRAM = sys.argv[1]
failures = []


def run(*args, stdin=None, env=None):
    done = subprocess.run([PROGRAM, *args], input=stdin, capture_output=True, text=True,
                          env={**os.environ, "LANG": "C.UTF-8", "LC_ALL": "", **(env or {})},
                          timeout=10)
    return done.returncode, done.stdout, done.stderr


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, expected {expected!r}")


def converts(args, expected):
    check(" ".join(args), run(*args)[:2], (0, expected + "\n"))


def refuses(args, status, mentions):
    code, out, err = run(*args)
    check(f"status of {args}", code, status)
    check(f"output of {args}", out, "")
    if mentions not in err or not err.startswith("taqwim-date: "):
        failures.append(f"{args}: message {err!r} should name {mentions!r}")


def both_directions():
    for gregorian, hijri in [("2024-03-11", "1445-09-01"), ("2024-06-16", "1445-12-10"),
                             ("2025-03-29", "1446-09-29"), ("2025-03-30", "1446-10-01"),
                             ("2024-12-01", "1446-05-29"), ("0622-07-16", "0001-01-01"),
                             ("1582-10-15", "0990-09-17"), ("1582-10-04", "0990-09-16"),
                             ("10323-10-21", "9999-12-29")]:
        if not gregorian.startswith("10323"):
            converts(["-I", "-d", gregorian], hijri)
        converts(["-I", "-H", "-d", hijri], gregorian)
    converts(["-d", "1/1/1"], "السبت، 16 جمادى الأولى 641 ق.هـ الموافق 1 يناير 1 م")
    converts(["-d", "31/12/9999", "--to=gregorian", "+%A %F"], "الجمعة 9999-12-31")
    converts(["-H", "-d", "1/1/1", "--to=hijri", "-I"], "0001-01-01")
    converts(["-d", "8/12/2026"], "الثلاثاء، 28 جمادى الآخرة 1448 هـ الموافق 8 ديسمبر 2026 م")


def strictness():
    refuses(["-d", "2023-02-29"], 1, "2023")
    refuses(["-H", "-d", "30/9/1446"], 1, "has only 29 days")
    refuses(["-H", "-d", "30/12/1433"], 1, "has only 29 days")  # lenient ICU: 1/1/1434
    refuses(["-d", "1582-10-10"], 1, "1582")
    refuses(["-d", "2024-13-01"], 1, "months run from 1 to 12")
    refuses(["-d", "0/1/2024"], 1, "days start at 1")
    refuses(["-d", "1/1/10000"], 1, "1 to 9999")
    refuses(["-d", "2024/03/11"], 1, "month 3 of 11 has only 31 days")  # D/M/Y
    refuses(["-d", "11.3.2024"], 1, "YYYY-MM-DD")
    refuses(["-d", "\x1b[31m1/1/2024"], 1, "'\\x1B[31m1/1/2024'")  # no escape reaches a terminal


def digits():
    converts(["-I", "-d", "٢٠٢٤-٠٣-١١"], "1445-09-01")
    converts(["-I", "-d", " \u200f۱۱/۳/۲۰۲۴\u200e\t"], "1445-09-01")
    converts(["-I", "--digits=arabic", "-d", "2024-03-11"], "١٤٤٥-٠٩-٠١")
    converts(["--digits=arabic", "-d", "2024-03-11"],
             "الاثنين، ١ رمضان ١٤٤٥ هـ الموافق ١١ مارس ٢٠٢٤ م")


def formats():
    converts(["-d", "2024-03-11", "+%d|%e|%m|%Y|%F|%B|%A|%u|%j|%%|%-d|%0e|%_m|%-j|%n|%t."],
             "01| 1|09|1445|1445-09-01|رمضان|الاثنين|1|237|%|1|01| 9|237|\n|\t.")
    converts(["-H", "-d", "1/9/1445", "+%j %u %B"], "071 1 مارس")
    converts(["-d", "2024-03-17", "+%u %A"], "7 الأحد")
    for bad in ["+%Q", "+%", "+%-", "+%5d"]:
        refuses(["-d", "2024-03-11", bad], 2, "'%")


def batch():
    lines = ["2024-03-11", "", "garbage", "11/3/2024\r", "2023-02-29", "١١/٣/٢٠٢٤", "2024-06-16"]
    code, out, err = run("-f", "-", "-I", stdin="\n".join(lines))  # no line end at the end
    check("batch output", out.split("\n"),
          ["1445-09-01", "", "", "1445-09-01", "", "1445-09-01", "1445-12-10", ""])
    check("batch status", code, 1)
    check("batch messages", [line.split(":")[1].strip() for line in err.splitlines()],
          ["line 2", "line 3", "line 5"])
    with tempfile.NamedTemporaryFile("w", suffix=".txt") as column:
        column.write("1/9/1445\n1/10/1446\n")
        column.flush()
        check("a Hijri column", run("-H", "-f", column.name, "-I")[:2],
              (0, "2024-03-11\n2025-03-30\n"))
    refuses(["-f", "/nonexistent/dates"], 1, "No such file")


def usage():
    for args in (["--frobnicate"], ["-x"], ["extra"], ["--to=julian"], ["--digits=roman"],
                 ["--adjust=3"], ["--adjust=1.5"], ["-d", "1/1/2024", "-f", "-"], ["-I", "+%F"],
                 ["--date"], ["--iso=yes"]):
        code, out, err = run(*args)
        check(f"status of {args}", code, 2)
        check(f"lines of {args}", len(err.splitlines()), 2)
    code, out, _ = run("--help")
    check("--help", (code, "Usage: taqwim-date" in out, "%F" in out), (0, True, True))
    code, out, _ = run("--version")
    check("--version", (code, out.split("\n")[0]), (0, "taqwim-date (Taqwim) 2.0"))
    with open("/dev/full", "w") as full:
        done = subprocess.run([PROGRAM], stdout=full, stderr=subprocess.PIPE, text=True)
    check("a write that fails", (done.returncode, "cannot write" in done.stderr), (1, True))


def adjustment():
    converts(["-d", "2024-12-01", "--adjust=1", "-I"], "1446-06-01")
    converts(["-H", "-d", "1/6/1446", "--adjust=1", "-I"], "2024-12-01")
    converts(["-d", "2024-12-01", "--adjust=-2", "-I"], "1446-05-27")
    refuses(["-H", "-d", "30/5/1446", "--adjust=1"], 1, "has only 29 days")
    # Every day once, none skipped or repeated, across a month end.
    days = [str(datetime.date(2024, 11, 28) + datetime.timedelta(n)) for n in range(6)]
    for shift in ["-2", "2"]:
        out = run("-f", "-", f"--adjust={shift}", "+%-d", stdin="\n".join(days))[1]
        numbers = [int(day) for day in out.split()]
        steps = [b - a for a, b in zip(numbers, numbers[1:])]
        check(f"--adjust={shift} over a month end", all(s == 1 or b == 1 for s, b in
                                                         zip(steps, numbers[1:])), True)


def today():
    for _ in range(3):  # the day may turn while the program runs
        before = datetime.date.today().isoformat()
        out = run("--to=gregorian", "-I")[1].strip()
        if datetime.date.today().isoformat() == before:
            break
    check("today", out, before)
    check("today's line", run()[1].count(" الموافق "), 1)


def languages():
    with tempfile.TemporaryDirectory() as locales:
        subprocess.run(["localedef", "-i", "ar_SA", "-f", "UTF-8", f"{locales}/ar_SA.UTF-8"],
                       check=True, capture_output=True)
        code, _, err = run("-d", "31/2/2023", env={"LOCPATH": locales, "LANG": "ar_SA.UTF-8"})
        check("an Arabic message", (code, "فيه 28 يوماً فقط" in err), (1, True))
        code, _, err = run("--to=x", env={"LOCPATH": locales, "LANG": "ar_SA.UTF-8"})
        check("Arabic usage", (code, "جرّب" in err), (2, True))
    check("an English message", "has only 28 days" in run("-d", "31/2/2023")[2], True)


def no_qt():
    needed = subprocess.run(["objdump", "-p", PROGRAM], capture_output=True, text=True).stdout
    check("Qt libraries linked", [line for line in needed.splitlines() if "Qt" in line], [])


for group in [both_directions, strictness, digits, formats, batch, usage, adjustment, today,
              languages, no_qt]:
    group()
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
