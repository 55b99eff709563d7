#!/usr/bin/python3
"""taqwim-cal where its output ends up: into a pipe, as grep and the bidirectional algorithm
(fribidi) take it; on a terminal that answers as VTE does, and one that answers as xterm
does, interrupted too; inside tmux; and its iCalendar file in a calendar program (khal) and
a strict parser (python3-icalendar).

    taqwim_cal_e2e.py PATH/TO/taqwim-cal

Exit status: 0 passed, 1 failed.
"""

import datetime
import os
import pty
import re
import select
import signal
import subprocess
import sys
import tempfile
import time
import unicodedata

import icalendar

PROGRAM = sys.argv[1]
failures = []
scratch = tempfile.TemporaryDirectory()
ENV = {**os.environ, "LANG": "C.UTF-8", "LC_ALL": "", "LC_TIME": "ar_SA.UTF-8", "COLUMNS": "80"}
MARKS = "\u200e\u200f\u202c\u202d\u2066\u2067\u2068\u2069"
EXPLICIT, IMPLICIT = "\x1b[8l", "\x1b[8h"


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, expected {expected!r}")


def run(*args, env=None):
    return subprocess.run([PROGRAM, *args], capture_output=True, text=True, check=True,
                          env={**ENV, **(env or {})}, timeout=10).stdout


def base_letters(text):
    """The letters without their joined forms, and without the invisible marks."""
    return "".join(c for c in unicodedata.normalize("NFKC", text) if c not in MARKS)


def through_bidi(text):
    """The lines as a display that applies the bidirectional algorithm lays them out, each
    paragraph's direction taken from its first strong letter (fribidi)."""
    done = subprocess.run(["fribidi", "--nopad", "--nobreak", "--clean"], input=text,
                          capture_output=True, text=True, check=True)
    return [base_letters(line).strip() for line in done.stdout.splitlines()]


def pipe():
    """Into a pipe the words are as written, and a bidi display shows the cells laid out."""
    grid = run("9", "1445", env={"LC_ALL": "ar_SA.UTF-8"})
    check("grep finds Ramadan in a pipe", "رمضان" in grid, True)
    check("no joined forms or overrides in a pipe",
          re.search("[\ufb50-\ufdff\ufe70-\ufeff\u202d]", grid), None)
    for args in (["-3", "9", "1445"], ["-g", "-s", "12", "2026"]):
        laid_out = [base_letters(line).strip()
                    for line in run("--bidi=visual", *args).splitlines()]
        check(f"taqwim-cal {args} in a pipe through fribidi", through_bidi(run(*args)), laid_out)


def on_terminal(args, answer, interrupt=False):
    """What taqwim-cal writes to a terminal that answers its question as `answer` does, and
    how it ends; interrupted with SIGINT while the terminal is slow to take the text."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execve(PROGRAM, [PROGRAM, *args], {**ENV, "TERM": "xterm-256color"})
    written, answered = b"", False
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        if select.select([fd], [], [], 1)[0]:
            try:
                block = os.read(fd, 1024)
            except OSError:
                break
            if not block:
                break
            written += block
        if not answered and b"\x1b[c" in written:
            os.write(fd, answer)
            answered = True
        if interrupt and len(written) > 20000:
            os.kill(pid, signal.SIGINT)
            interrupt = False
            time.sleep(0.2)  # the handler writes while nothing is read
    _, status = os.waitpid(pid, 0)
    os.close(fd)
    return written.decode(errors="replace"), status


def terminals():
    grid = ["-3", "9", "1445"]
    # VTE reorders text unless told not to: the grid is written in its explicit mode, laid
    # out, and the mode is put back at the end.
    shown, status = on_terminal(grid, b"\x1b[8;1$y\x1b[?65;1;9c")
    check("on VTE: explicit mode, then back", (shown.count(EXPLICIT), shown.rstrip().endswith(IMPLICIT), status), (1, True, 0))
    check("on VTE: the grid laid out", "ﻥﺎﻀﻣﺭ" in shown, True)
    # xterm does not know the mode: laid out, and no mode is changed.
    shown, _ = on_terminal(grid, b"\x1b[8;0$y\x1b[?64;1;2c")
    check("on xterm: laid out, no mode", ("ﻥﺎﻀﻣﺭ" in shown, EXPLICIT in shown), (True, False))
    # Ctrl-C in the middle of a long page: the terminal is put back, and the program ends as
    # SIGINT ends it.
    shown, status = on_terminal(["-g", "--color=always", "--from", "1/1/1900", "--until", "31/12/2100"],
                                b"\x1b[8;1$y\x1b[?65c", interrupt=True)
    check("interrupted on VTE", (os.WIFSIGNALED(status) and os.WTERMSIG(status), shown.rstrip().endswith(IMPLICIT)),
          (signal.SIGINT, True))


def in_tmux(args, env=None):
    """The lines tmux keeps of the output: tmux passes text on to a terminal it cannot ask, so
    taqwim-cal writes it in reading order there."""
    in_tmux.servers = getattr(in_tmux, "servers", 0) + 1  # one a run: a server is slow to go
    server = ["tmux", "-L", f"taqwim-cal-{os.getpid()}-{in_tmux.servers}", "-f", "/dev/null"]
    command = " ".join([PROGRAM, *args]) + "; tmux wait-for -S shown; sleep 60"
    environment = [f"{name}={value}" for name, value in
                   {"LC_TIME": ENV["LC_TIME"], "COLUMNS": "80", **(env or {})}.items()]
    subprocess.run([*server, "new-session", "-d", "-x", "80", "-y", "50",
                    "env", *environment, "sh", "-c", command], check=True, env=ENV)
    try:
        subprocess.run([*server, "wait-for", "shown"], check=True, timeout=10)
        pane = subprocess.run([*server, "capture-pane", "-p", "-e"],
                              capture_output=True, text=True, check=True).stdout
    finally:
        subprocess.run([*server, "kill-server"], env=ENV)
    return pane


def tmux():
    pane = in_tmux(["9", "1445"])
    check("in tmux: in reading order", ("رمضان" in pane, EXPLICIT in pane), (True, False))
    check("in tmux: today marked", "\x1b[7m" in in_tmux([]), True)
    check("in tmux: nothing marked with NO_COLOR", "\x1b[7m" in in_tmux([], {"NO_COLOR": "1"}),
          False)


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
    qadr = [e for e in events if str(e["UID"]) == "occasion-laylat-al-qadr-1445@taqwim.invalid"]
    check("Laylat al-Qadr 1445 on its evening", qadr[0].decoded("DTSTART"), datetime.date(2024, 4, 5))


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


for group in [pipe, terminals, tmux, strict_parser, khal]:
    group()
for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
