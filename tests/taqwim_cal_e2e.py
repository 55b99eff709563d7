#!/usr/bin/python3
"""taqwim-cal where its output ends up: in a terminal that reorders nothing (tmux) and
through the bidirectional algorithm (fribidi), and its iCalendar file in a calendar program
(khal) and a strict parser (python3-icalendar).

    taqwim_cal_e2e.py PATH/TO/taqwim-cal

Exit status: 0 passed, 1 failed.
"""

import datetime
import os
import subprocess
import sys
import tempfile
import unicodedata

import icalendar

PROGRAM = sys.argv[1]
failures = []
scratch = tempfile.TemporaryDirectory()
ENV = {**os.environ, "LANG": "C.UTF-8", "LC_ALL": "", "LC_TIME": "ar_SA.UTF-8", "COLUMNS": "80"}


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, expected {expected!r}")


def run(*args, env=None):
    return subprocess.run([PROGRAM, *args], capture_output=True, text=True, check=True,
                          env={**ENV, **(env or {})}, timeout=10).stdout


def in_tmux(args, attributes=False):
    """The lines a terminal that does no bidirectional layout shows, as tmux keeps them; with
    attributes, their escape sequences too."""
    server = ["tmux", "-L", f"taqwim-cal-{os.getpid()}", "-f", "/dev/null"]
    command = " ".join([PROGRAM, *args]) + "; tmux wait-for -S shown; sleep 60"
    environment = [f"{name}={ENV[name]}" for name in ("LC_TIME", "COLUMNS")]
    subprocess.run([*server, "new-session", "-d", "-x", "80", "-y", "50",
                    "env", *environment, "sh", "-c", command], check=True, env=ENV)
    try:
        subprocess.run([*server, "wait-for", "shown"], check=True, timeout=10)
        pane = subprocess.run([*server, "capture-pane", "-p", *(["-e"] if attributes else [])],
                              capture_output=True, text=True, check=True).stdout
    finally:
        subprocess.run([*server, "kill-server"], env=ENV)
    return without_marks(pane).rstrip("\n").splitlines()


def through_bidi(text):
    """The lines as the Unicode bidirectional algorithm lays them out (fribidi)."""
    done = subprocess.run(["fribidi", "--nopad", "--nobreak", "--clean"], input=text,
                          capture_output=True, text=True, check=True)
    return [line.rstrip() for line in done.stdout.splitlines()]


def without_marks(text):
    return "".join(c for c in text if c not in "\u200e\u202c\u202d")


def read_right_to_left(line):
    return unicodedata.normalize("NFKC", line[::-1])


def terminals():
    for args in (["-3", "9", "1445"], ["-g", "-s", "12", "2026"]):
        shown = [line.rstrip() for line in in_tmux(args)]
        check(f"taqwim-cal {args} through fribidi and in tmux", through_bidi(run(*args)), shown)
        headings = read_right_to_left(shown[0])
        if args[0] == "-3":
            order = [headings.find(month) for month in ("شعبان", "رمضان", "شوال")]
            check("the first month at the right", order, sorted(order))
        saturday = read_right_to_left(shown[len(shown) // 2])
        check(f"{args}: numbers in the grid", any(c.isdigit() for c in saturday), True)
    # On a terminal today is in reverse video, and the other calendar's numbers faint.
    this_month = "\n".join(in_tmux([], attributes=True))
    check("today's mark on a terminal", ("\x1b[7m" in this_month, "\x1b[2m" in this_month),
          (True, True))


def ics_file(name, *args):
    path = os.path.join(scratch.name, name)
    with open(path, "wb") as out:
        subprocess.run([PROGRAM, "--ics", *args], stdout=out, check=True, timeout=10,
                       env={**ENV, "LC_TIME": "C.UTF-8"})
    return path


def strict_parser():
    path = ics_file("century.ics", "--days", "--from", "1/1/1400", "--until", "29/12/1499")
    with open(path, "rb") as data:
        raw = data.read()
    check("every line ends with CR LF", raw.count(b"\n"), raw.count(b"\r\n"))
    check("lines of 75 octets at most", max(len(line) for line in raw.split(b"\r\n")) <= 75, True)
    calendar = icalendar.Calendar.from_ical(raw)
    events = calendar.walk("VEVENT")
    days = [event for event in events if str(event["UID"]).startswith("day-")]
    first, last = days[0].decoded("DTSTART"), days[-1].decoded("DTSTART")
    check("a day for every day", len(days), (last - first).days + 1)
    check("the first day", first, datetime.date(1979, 11, 21))
    for event in events:
        start, end = event.decoded("DTSTART"), event.decoded("DTEND")
        if type(start) is not datetime.date or end != start + datetime.timedelta(days=1):
            failures.append(f"{event['UID']}: {start!r} to {end!r} is not one whole day")
            break
    check("a name for the calendar", str(calendar["X-WR-CALNAME"]), "Hijri calendar (Umm al-Qura)")
    check("DTSTAMP in UTC", all(str(e["DTSTAMP"].to_ical(), "ascii").endswith("Z") for e in events), True)
    check("occasions", len(events) - len(days), 1000)


def khal():
    config = os.path.join(scratch.name, "khal.conf")
    store = os.path.join(scratch.name, "calendar")
    os.mkdir(store)
    with open(config, "w") as out:
        out.write(f"[calendars]\n[[hijri]]\npath = {store}\n"
                  "[locale]\ndateformat = %Y-%m-%d\nlongdateformat = %Y-%m-%d\n"
                  "timeformat = %H:%M\ndatetimeformat = %Y-%m-%d %H:%M\n"
                  "longdatetimeformat = %Y-%m-%d %H:%M\n")
    env = {**os.environ, "LANG": "C.UTF-8", "LC_ALL": "", "LC_TIME": "",
           "XDG_DATA_HOME": scratch.name, "XDG_CONFIG_HOME": scratch.name}
    khal = ["khal", "-c", config]
    path = ics_file("ramadan.ics", "--days", "9", "1445")
    listing = []
    for _ in range(2):  # a second import updates the events
        subprocess.run([*khal, "import", "--batch", path], check=True, env=env, timeout=60,
                       capture_output=True)
        listing.append(subprocess.run([*khal, "list", "--format", "{title}", "--day-format", "",
                                       "2024-03-11", "1d"], capture_output=True, text=True,
                                      check=True, env=env, timeout=60).stdout.splitlines())
    check("khal's 11 March 2024", sorted(listing[0]), ["1 Ramadan 1445", "First of Ramadan"])
    check("khal after the second import", listing[1], listing[0])
    check("khal's files", len(os.listdir(store)), 32)


for group in [terminals, strict_parser, khal]:
    group()
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
