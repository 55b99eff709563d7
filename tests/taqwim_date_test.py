#!/usr/bin/python3
"""The real taqwim-date, for what only a process shows: exit statuses and streams, the
environment's languages and time zone, a file's time, pipes, a terminal-like dialogue
through -f, and a full disk. What it reads and writes is tested in command_line_tests.

    taqwim_date_test.py PATH/TO/taqwim-date

Exit status: 0 passed, 1 failed.
"""

import datetime
import os
import select
import subprocess
import sys
import tempfile

PROGRAM = sys.argv[1]
failures = []
PLAIN = {"LANG": "C.UTF-8", "LC_ALL": "", "LC_TIME": "", "LC_MESSAGES": "", "LANGUAGE": ""}


def run(*args, stdin=None, env=None):
    done = subprocess.run([PROGRAM, *args], input=stdin, capture_output=True, text=True,
                          env={**os.environ, **PLAIN, **(env or {})}, timeout=10)
    return done.returncode, done.stdout, done.stderr


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, expected {expected!r}")


def statuses_and_streams():
    check("a conversion", run("-I", "-d", "2024-03-11"), (0, "1445-09-01\n", ""))
    code, out, err = run("-d", "11/03/24")
    check("a date refused", (code, out, err.startswith("taqwim-date: invalid date '11/03/24'"),
                             err.count("\n")), (1, "", True, 1))
    for args in (["--d=x"], ["-Idate", "extra"], ["--adjust=-3"], ["-d"], ["+%"], ["+%V"]):
        code, out, err = run(*args)
        check(f"usage {args}", (code, out, err.splitlines()[-1]),
              (2, "", "Try 'taqwim-date --help' for more information."))
        check(f"lines of {args}", len(err.splitlines()), 2)
    code, out, _ = run("--help")
    check("--help", (code, "03/11/2024 is 3 November" in out), (0, True))
    code, out, _ = run("--version")
    check("--version", (code, out.split("\n")[0]), (0, "taqwim-date (Taqwim) 2.0"))


def zones_and_files():
    riyadh = {"TZ": "<+03>-3"}
    check("@SECONDS on the local clock", run("-d", "@1700000000", "--to=gregorian", "+%F %T %Z",
                                             env=riyadh)[1], "2023-11-15 01:13:20 +03\n")
    check("-u", run("-u", "-d", "@1700000000", "--to=gregorian", "+%F %T %Z|%V|%c",
                    env=riyadh)[1], "2023-11-14 22:13:20 UTC|46|Tue Nov 14 22:13:20 2023\n")
    check("-Iseconds", run("-Iseconds", "-d", "2024-03-11 10:00", env=riyadh)[1],
          "1445-09-01T10:00:00+03:00\n")
    with tempfile.NamedTemporaryFile() as file:
        os.utime(file.name, (0, 1_700_000_000))
        check("-r", run("-r", file.name, "--to=gregorian", "+%F %T", env=riyadh)[1],
              "2023-11-15 01:13:20\n")
    code, _, err = run("-r", "/nonexistent/file")
    check("-r of no file", (code, "cannot read the time of '/nonexistent/file'" in err), (1, True))
    for _ in range(3):  # the day may turn while the program runs
        before = datetime.date.today().isoformat()
        out = run("--to=gregorian", "-I")[1].strip()
        if datetime.date.today().isoformat() == before:
            break
    check("today", out, before)


def languages():
    """Names and messages follow the C library's locale; the tests' LOCPATH has the locales."""
    def names(env):
        return run("-H", "-d", "1445-09-01", "--to=hijri", "+%A|%B", env=env)[1]
    english, turkish, malay = (names({"LANG": lang}) for lang in
                               ("C.UTF-8", "tr_TR.UTF-8", "ms_MY.UTF-8"))
    check("Arabic names", names({"LANG": "ar_SA.UTF-8"}), "الاثنين|رمضان\n")
    check("Turkish, Malay and English differ", len({english, turkish, malay}), 3)
    check("LC_TIME before LANG", names({"LANG": "tr_TR.UTF-8", "LC_TIME": "ms_MY.UTF-8"}), malay)
    check("LC_ALL before LC_TIME", names({"LC_ALL": "C", "LC_TIME": "tr_TR.UTF-8"}), english)
    check("a locale the machine lacks is C", names({"LANG": "xx_YY.UTF-8"}), english)
    check("an Arabic line on an English desktop",
          run("-d", "2024-03-11", env={"LANG": "en_US.UTF-8", "LC_TIME": "ar_SA.UTF-8"})[1],
          "الاثنين، 1 رمضان 1445 هـ الموافق 11 مارس 2024 م\n")
    arabic = {"LANG": "ar_SA.UTF-8"}
    code, _, err = run("-d", "29-02-2023", env=arabic)
    check("an Arabic message, the date isolated",
          (code, "'\u206829-02-2023\u2069'" in err, "فيه 28 يوماً فقط" in err), (1, True, True))
    code, _, err = run("--frob", env=arabic)
    check("Arabic usage", (code, "جرّب" in err, "'\u2068--frob\u2069'" in err), (2, True, True))
    english_month = english.split("|")[1]
    check("Arabic messages, English names",
          names({**arabic, "LC_TIME": "C"}).split("|")[1], english_month)
    check("an English message", "has only 28 days" in run("-d", "31/2/2023")[2], True)


def dialogue():
    """A program talking to -f through pipes gets each answer before it writes the next line,
    and a message in its place among the answers."""
    # Unbuffered, so that a line read leaves the next in the pipe for select() to see.
    talk = subprocess.Popen([PROGRAM, "-f", "-", "-I"], stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            env={**os.environ, **PLAIN}, bufsize=0)
    for line, answers in [("2024-03-11", ["1445-09-01"]),
                          ("11/03/24", ["taqwim-date: line 2: invalid date '11/03/24': "
                                        "write the year with four digits, as in 2024", ""]),
                          ("2024-06-16", ["1445-12-10"])]:
        talk.stdin.write(line.encode() + b"\n")
        for answer in answers:
            if not select.select([talk.stdout], [], [], 5)[0]:
                failures.append(f"no answer to {line!r} within 5 s")
                talk.kill()
                return
            check(f"the answer to {line!r}", talk.stdout.readline().decode(), answer + "\n")
    talk.stdin.close()
    check("the dialogue's status", talk.wait(timeout=10), 1)


def full_disk():
    with open("/dev/full", "w") as full:
        one = subprocess.run([PROGRAM], stdout=full, stderr=subprocess.PIPE, text=True)
        many = subprocess.run([PROGRAM, "-f", "-", "-I"], input="2024-03-11\n" * 200_000,
                              stdout=full, stderr=subprocess.PIPE, text=True)
    check("one date to a full disk", (one.returncode, "cannot write" in one.stderr), (1, True))
    check("a column to a full disk", (many.returncode, many.stderr.count("\n")), (1, 1))


def no_qt():
    needed = subprocess.run(["objdump", "-p", PROGRAM], capture_output=True, text=True).stdout
    check("Qt libraries linked", [line for line in needed.splitlines() if "Qt" in line], [])


for group in [statuses_and_streams, zones_and_files, languages, dialogue, full_disk, no_qt]:
    group()
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
