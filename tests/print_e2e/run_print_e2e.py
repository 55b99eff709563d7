#!/usr/bin/python3
"""Prints the main window's summary through a real, private CUPS scheduler and reads the
paper back.

Usage: run_print_e2e.py PROGRAM DATES
    (PROGRAM is taqwim itself, and DATES taqwim-date, which tells the dates of today that the
    program prints)

Everything lives in one temporary directory: cupsd's configuration, spool, logs and state,
and the HOME, TMPDIR and client configuration the program sees, so that neither the
machine's printers nor a user's lpoptions can interfere. The printers are queues whose AppSocket
device is a listener in this process, with a small PPD that declares Letter or A4 paper and
passes PDF through, so the bytes the program submitted arrive unchanged.

How the pages are laid out, and how the program meets a print service that fails, are the
unit tests' business; this test keeps what only a real print service and a real session show.
The program, in a private X server and clicked with the mouse, prints two summaries that reach
the printer on the queue's own paper, and is ended with a summary pending the ways a session
ends: SIGTERM (which prints it), SIGHUP, SIGINT and its display going away without a print
service (which keep it as a PDF), and, started as nohup starts it, a hang-up and Ctrl+C while
it prints at exit.

Exit status: 0 passed, 1 failed, 77 cupsd cannot start on this machine (its log is shown).
TAQWIM_KEEP_PDF=FOLDER keeps a copy of every PDF printed or kept at exit there.
"""

import collections
import contextlib
import ctypes
import grp
import os
import pwd
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
import unicodedata

SKIP = 77
QUEUE = "taqwim-e2e"

# The long dates of a day as the window shows them, and so as they must come out on paper;
# todays_block() puts today's in their place.
GREGORIAN = "12 أكتوبر 1999 م"
HIJRI = "3 رجب 1420 هـ"
WEEKDAY = "الثلاثاء"
RULE = "*" * 48
# One summary as text on paper; its two empty lines leave no text behind.
BLOCK = [
    RULE,
    "العنوان",
    "التاريخ الميلادي:" + GREGORIAN,
    "يصادف التاريخ الهجري:" + HIJRI,
    "اسم اليوم:" + WEEKDAY,
    RULE,
]

JOB_WAIT = 20  # seconds for a submitted job to reach the listener
# Points, as pdfinfo gives them.
PAPERS = {"Letter": (612, 792), "A4": (595.28, 841.89)}


class Failure(Exception):
    pass


class CannotStart(Exception):
    pass


def log(message=""):
    print(message, flush=True)


def tool(name):
    """The path of a program of cups-client, cups-bsd or poppler-utils; lpadmin lives in
    /usr/sbin, which is not on every user's PATH."""
    path = shutil.which(name, path=os.environ.get("PATH", "") + ":/usr/sbin:/sbin")
    if not path:
        raise Failure(f"{name} is not installed (scripts/setup installs it)")
    return path


# --- reading the paper --------------------------------------------------------------------

# pdftotext marks the direction of Arabic runs; the marks carry no text.
DIRECTION_MARKS = dict.fromkeys(
    [0x200E, 0x200F, *range(0x202A, 0x202F), *range(0x2066, 0x206A)]
)


def normalised(text):
    # Shaped glyphs come back as presentation forms (initial, medial, final, ligatures);
    # NFKC turns them into the letters the program wrote.
    return unicodedata.normalize("NFKC", text).translate(DIRECTION_MARKS)


# Words (letters with their diacritics, tatweel included) and numbers. pdftotext moves
# spaces and punctuation around where Arabic meets digits ("الميلادي:8 ديسمبر 2026 م"
# comes out as "الميلادي 8:ديسمبر  2026م"), so only these, the colons and the stars count.
TOKEN = re.compile(r"\d+|[^\W\d_][^\W\d_\u064B-\u065F\u0670]*|[:*]")


def tokens(text):
    """The tokens of a text, each spelt as it reads in logical order whether pdftotext gives
    it in logical or visual order. Where the lines stand is the page layout's unit test's
    business; here the paper must say what the program wrote, no more and no less."""
    return collections.Counter(min(token, token[::-1])
                               for token in TOKEN.findall(normalised(text)))


def differences(text, expected_lines):
    """What the text says that the expected lines do not, and the other way round."""
    found, expected = tokens(text), tokens("\n".join(expected_lines))
    return ([f"missing {token!r} x{count}" for token, count in (expected - found).items()]
            + [f"unexpected {token!r} x{count}" for token, count in (found - expected).items()])


def check_the_reader():
    """The reader must take both orders pdftotext may use, and still notice a wrong or
    missing date: otherwise a pass would prove nothing."""
    expected = BLOCK * 2
    logical = "\n".join(expected)
    visual = "\n".join("\u200f" + line[::-1] for line in expected)
    if differences(logical, expected) or differences(visual, expected):
        raise Failure("the text reader rejects a correct page")
    wrong_year = logical.replace("1420", "1419", 1)
    wrong_day = visual.replace(GREGORIAN[::-1], GREGORIAN.replace("12", "13", 1)[::-1], 1)
    missing = "\n".join(expected[:3] + expected[4:])
    one_rule_short = logical.replace(RULE, RULE[1:], 1)
    for name, text in [
        ("a wrong Hijri year", wrong_year),
        ("a wrong Gregorian day", wrong_day),
        ("a missing Hijri line", missing),
        ("a short rule", one_rule_short),
    ]:
        if not differences(text, expected):
            raise Failure(f"the text reader accepts a page with {name}")


# --- the printer: a listener on a local port ----------------------------------------------


class Listener:
    """An AppSocket printer that keeps each connection's bytes in its own numbered file."""

    def __init__(self, directory):
        self._directory = directory
        self._jobs = []
        self._lock = threading.Lock()
        self._stopping = threading.Event()
        self._socket = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._socket.bind(("127.0.0.1", 0))
        self._socket.listen(4)
        self._socket.settimeout(0.2)
        self.port = self._socket.getsockname()[1]
        self._thread = threading.Thread(target=self._serve, name="listener", daemon=True)
        self._thread.start()

    def _serve(self):
        while not self._stopping.is_set():
            try:
                connection, _ = self._socket.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            with connection:
                self._receive(connection)

    def _receive(self, connection):
        connection.settimeout(0.2)
        chunks = []
        while not self._stopping.is_set():
            try:
                data = connection.recv(65536)
            except socket.timeout:
                continue
            except OSError:
                break
            if not data:
                break
            chunks.append(data)
        with self._lock:
            path = os.path.join(self._directory, f"job-{len(self._jobs) + 1}")
            # Saved before the connection closes: the backend counts the job as printed
            # only once the printer hangs up, so a finished job is always on disk.
            with open(path, "wb") as out:
                out.write(b"".join(chunks))
            self._jobs.append(path)

    def received(self):
        with self._lock:
            return list(self._jobs)

    def stop(self):
        self._stopping.set()
        self._thread.join(5)
        self._socket.close()


def ppd(paper):
    """A driver for a queue with the given default paper that hands PDF on unchanged. It asks
    the printer nothing over SNMP: the backend would wait seconds for answers a listener never
    gives."""

    def each(keyword, value):
        return "".join(f'*{keyword} {name}: "{value(round(w), round(h))}"\n'
                       for name, (w, h) in PAPERS.items())

    page = each("PageSize", lambda w, h: f"<</PageSize[{w} {h}]>>setpagedevice")
    region = each("PageRegion", lambda w, h: f"<</PageSize[{w} {h}]>>setpagedevice")
    return f"""*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "TAQWIM.PPD"
*Manufacturer: "Taqwim"
*Product: "(Taqwim test printer)"
*ModelName: "Taqwim test printer"
*ShortNickName: "Taqwim test printer"
*NickName: "Taqwim test printer, {paper}"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter: "application/pdf 0 -"
*cupsSNMPSupplies: False
*OpenUI *PageSize: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: {paper}
{page}*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: {paper}
{region}*CloseUI: *PageRegion
*DefaultImageableArea: {paper}
{each("ImageableArea", lambda w, h: f"0 0 {w} {h}")}*DefaultPaperDimension: {paper}
{each("PaperDimension", lambda w, h: f"{w} {h}")}"""


# --- the scheduler ------------------------------------------------------------------------


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def die_with_parent():
    # Should this script be killed outright, cupsd must not outlive it.
    libc = ctypes.CDLL(None, use_errno=True)
    PR_SET_PDEATHSIG = 1
    libc.prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class Scheduler:
    def __init__(self, root):
        self.root = root
        self.address = None
        self.error_log = os.path.join(root, "log", "error_log")
        self._output = os.path.join(root, "log", "cupsd.out")
        self._process = None

    def _write_configuration(self):
        root = self.root
        if os.geteuid() == 0:
            # cupsd refuses to run its helpers as root.
            user, group = "lp", "lp"
        else:
            user = pwd.getpwuid(os.geteuid()).pw_name
            group = grp.getgrgid(os.getegid()).gr_name
        gid = grp.getgrnam(group).gr_gid
        for name in ["etc", "spool", "spool/tmp", "cache", "state", "log"]:
            os.makedirs(os.path.join(root, name), mode=0o755, exist_ok=True)
        # cupsd checks that its files belong to it and to its group and that no one else
        # can write them; its helpers, running as that group, read the spool.
        for name in ["etc", "spool", "spool/tmp", "cache", "state"]:
            path = os.path.join(root, name)
            if os.geteuid() == 0:
                os.chown(path, 0, gid)
        os.chmod(os.path.join(root, "spool"), 0o710)
        os.chmod(os.path.join(root, "spool/tmp"), 0o1770)

        files = f"""\
User {user}
Group {group}
SystemGroup {"root" if os.geteuid() == 0 else group}
LogFileGroup {group}
ServerRoot {root}/etc
ServerKeychain {root}/etc/ssl
CreateSelfSignedCerts no
RequestRoot {root}/spool
TempDir {root}/spool/tmp
CacheDir {root}/cache
StateDir {root}/state
Printcap {root}/state/printcap
AccessLog {root}/log/access_log
ErrorLog {root}/log/error_log
PageLog {root}/log/page_log
FileDevice No
"""
        # Anyone on this machine may do anything, over the loopback address only; nothing
        # is shared, browsed for, or announced.
        conf = f"""\
Listen {self.address}
LogLevel debug
MaxLogSize 0
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType None
ErrorPolicy abort-job
PreserveJobHistory Yes
<Location />
  Order deny,allow
  Deny from all
  Allow from 127.0.0.1
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
    Deny from all
    Allow from 127.0.0.1
  </Limit>
</Policy>
"""
        self.conf = os.path.join(root, "etc", "cupsd.conf")
        self.files = os.path.join(root, "etc", "cups-files.conf")
        for path, text in [(self.conf, conf), (self.files, files)]:
            with open(path, "w", encoding="utf-8") as out:
                out.write(text)
            os.chmod(path, 0o640)
            if os.geteuid() == 0:
                os.chown(path, 0, gid)

    def start(self, client_env):
        """Sets CUPS_SERVER in client_env once the scheduler listens."""
        cupsd = shutil.which("cupsd", path="/usr/sbin:/sbin:" + os.environ.get("PATH", ""))
        if not cupsd:
            raise CannotStart("cupsd is not installed")
        # The port was free when chosen, but another program may take it before cupsd does.
        for _ in range(3):
            self.address = f"127.0.0.1:{free_port()}"
            self._write_configuration()
            logged = self._log_size()
            self._spawn(cupsd)
            if self._wait_until_listening(logged):
                client_env["CUPS_SERVER"] = self.address
                status = subprocess.run([tool("lpstat"), "-r"], env=client_env, capture_output=True,
                                        text=True, timeout=10)
                if status.stdout.strip() != "scheduler is running":
                    raise CannotStart(f"cupsd does not answer: {status.stdout}{status.stderr}")
                return
            if "Address already in use" not in self._log_since(logged):
                raise CannotStart(f"cupsd exited with status {self._process.returncode}")
        raise CannotStart("every port tried was taken")

    def _spawn(self, cupsd):
        with open(self._output, "ab") as output:
            self._process = subprocess.Popen(
                [cupsd, "-f", "-c", self.conf, "-s", self.files],
                stdin=subprocess.DEVNULL,
                stdout=output,
                stderr=subprocess.STDOUT,
                env={"PATH": "/usr/sbin:/usr/bin:/sbin:/bin", "LANG": "C.UTF-8"},
                start_new_session=True,
                preexec_fn=die_with_parent,
            )

    def _wait_until_listening(self, logged):
        """True once cupsd says it listens on its address; False if it exits first."""
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if f"Listening to {self.address} " in self._log_since(logged):
                return True
            if self._process.poll() is not None:
                return False
            time.sleep(0.05)
        raise CannotStart("cupsd did not listen within 10 seconds")

    def _log_size(self):
        try:
            return os.path.getsize(self.error_log)
        except OSError:
            return 0

    def _log_since(self, offset):
        try:
            with open(self.error_log, "rb") as text:
                text.seek(offset)
                return text.read().decode("utf-8", errors="replace")
        except OSError:
            return ""

    def explain(self, lines=60):
        """cupsd's own account, for a failure or a skip: its complaints and what the jobs'
        helpers said, without the rest of its debugging chatter."""
        for path in [self._output, self.error_log]:
            try:
                with open(path, encoding="utf-8", errors="replace") as text:
                    tail = [line for line in text.read().splitlines()
                            if not line.startswith("D ") or "[Job " in line][-lines:]
            except OSError:
                continue
            if tail:
                log(f"--- from {os.path.basename(path)}")
                for line in tail:
                    log("    " + line)

    def stop(self):
        if self._process is None:
            return
        if self._process.poll() is None:
            self._process.terminate()
            try:
                self._process.wait(5)
            except subprocess.TimeoutExpired:
                self._process.kill()
                self._process.wait(5)
        # Its backends run in the session it was started in; none may stay behind.
        try:
            os.killpg(self._process.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass


# --- the run ------------------------------------------------------------------------------


def command(args, env, what):
    args = [tool(args[0]), *args[1:]]
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=15)
    if result.returncode != 0:
        raise Failure(f"{what} failed ({' '.join(args)}): {result.stderr.strip()}")
    return result.stdout


def job_count(env, which):
    listing = command(["lpstat", "-W", which, "-o"], env, "listing jobs")
    return len([line for line in listing.splitlines() if line.strip()])


def wait_for_queue_to_empty(env, listener):
    deadline = time.monotonic() + JOB_WAIT
    while time.monotonic() < deadline:
        if job_count(env, "not-completed") == 0:
            return
        time.sleep(0.1)
    raise Failure(f"the job was still queued after {JOB_WAIT} s; the printer received "
                  f"{len(listener.received())} job(s)")


def keep_copy(path, name):
    folder = os.environ.get("TAQWIM_KEEP_PDF")
    if folder:
        os.makedirs(folder, exist_ok=True)
        shutil.copyfile(path, os.path.join(folder, name))
        log(f"kept a copy as {os.path.join(folder, name)}")


def pdf_text(path):
    with open(path, "rb") as job:
        pdf = job.read()
    log(f"{os.path.basename(path)}: {len(pdf)} bytes")
    if not pdf.startswith(b"%PDF-"):
        raise Failure(f"{path} is not a PDF; it starts with {pdf[:16]!r}")
    text = subprocess.run([tool("pdftotext"), "-enc", "UTF-8", path, "-"], capture_output=True,
                          timeout=15)
    if text.returncode != 0:
        raise Failure(f"pdftotext cannot read {path}: {text.stderr.decode(errors='replace')}")
    return text.stdout.decode("utf-8")


def check_paper(path, paper, block):
    """Both summaries, in order, on pages of the queue's paper."""
    text = pdf_text(path)
    problems = differences(text, block * 2)
    if problems:
        log("--- text on paper")
        log(normalised(text))
        raise Failure(f"the {paper} job does not hold the two summaries:\n  "
                      + "\n  ".join(problems))
    info = command(["pdfinfo", "-f", "1", "-l", "99", path], os.environ, "reading the page sizes")
    sizes = [(float(w), float(h))
             for w, h in re.findall(r"^Page +\d+ size: +([\d.]+) x ([\d.]+) pts", info, re.M)]
    wrong = [size for size in sizes if max(map(abs, map(float.__sub__, size, PAPERS[paper]))) > 1]
    if not sizes or wrong:
        raise Failure(f"the pages are {sizes} pt, not {paper} {PAPERS[paper]}")
    log(f"both summaries on {len(sizes)} {paper} page(s)")


def print_on_paper(program, env, listener, root, paper, block):
    queue = f"{QUEUE}-{paper.lower()}"
    add_default_queue(env, listener, root, queue, paper)
    before = len(listener.received())
    completed = job_count(env, "completed")
    with program_clicked(program, env, ["summary", "summary", "print", "about"]) as (process, _):
        process.send_signal(signal.SIGTERM)
        if process.wait(timeout=ENDING_TIME) != 0:
            raise Failure(f"printing on {paper}, the program ended with status {process.returncode}")
    wait_for_queue_to_empty(env, listener)
    jobs = listener.received()
    if len(jobs) != before + 1:
        raise Failure(f"the {paper} printer received {len(jobs) - before} jobs, not one")
    if job_count(env, "completed") != completed + 1:
        raise Failure(f"the scheduler did not complete the {paper} job")
    keep_copy(jobs[-1], f"two-summaries-{paper}.pdf")
    check_paper(jobs[-1], paper, block)
    command(["lpadmin", "-x", queue], env, f"removing the {paper} queue")


def todays_block(dates):
    """The summary of today, which the program itself shows at start, with the window's
    Arabic names: taqwim-date gives them under an Arabic LC_ALL (the tests' LOCPATH has it)."""
    def today(calendar, form):
        return subprocess.run([dates, f"--to={calendar}", form], capture_output=True, text=True,
                              env={**os.environ, "LC_ALL": "ar_SA.UTF-8"},
                              check=True).stdout.strip()
    gregorian, hijri = today("gregorian", "+%-d %B %Y م"), today("hijri", "+%-d %B %Y هـ")
    weekday = today("hijri", "+%A")
    return [line.replace(GREGORIAN, gregorian).replace(HIJRI, hijri).replace(WEEKDAY, weekday)
            for line in BLOCK]


def check_kept(path, home, name, block):
    """The pending document kept at exit in the documents folder."""
    documents = os.path.join(home, "Documents")
    if os.path.dirname(path) != documents or not os.path.isfile(path):
        raise Failure(f"the message names {path}, not a file in {documents}")
    keep_copy(path, name)
    problems = differences(pdf_text(path), block)
    if problems:
        raise Failure("the kept PDF does not hold the summary:\n  " + "\n  ".join(problems))
    os.remove(path)
    log(f"the document was kept as {path}")


# --- the program itself, as a session ends it ----------------------------------------------

X_SESSION = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                         "x-session.sh")
ENDING_TIME = 8  # seconds: the print service's deadline, and time to write a PDF


class XServer:
    """A private Xvfb for one run of the program, which a test may also take away."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self._process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number.isdigit():
            self.stop()
            raise Failure("Xvfb did not start")
        self.display = f":{number}"

    def stop(self):
        self._process.kill()
        self._process.wait()


def x_session(env, *arguments):
    done = subprocess.run([X_SESSION, *arguments], env=env, capture_output=True, text=True,
                          timeout=20)
    if done.returncode != 0:
        raise Failure(done.stderr.strip() or f"x-session.sh {arguments} failed")
    return done.stdout.strip()


@contextlib.contextmanager
def program_clicked(program, env, controls, ignored=()):
    """The program in a private X server, the controls named clicked in its main window, the
    last of them About; started with the signals named ignored, as nohup starts it. Yields it
    and its X server."""
    def start():
        die_with_parent()
        for number in ignored:
            signal.signal(number, signal.SIG_IGN)

    x_server = XServer()
    try:
        session_env = dict(env, DISPLAY=x_server.display, QT_QPA_PLATFORM="xcb")
        process = subprocess.Popen([program], env=session_env, stderr=subprocess.PIPE,
                                   preexec_fn=start)
        try:
            main_window = x_session(session_env, "wait_for_window", str(process.pid), "main")
            for control in controls:
                x_session(session_env, "click", main_window, control)
            # Clicks are handled in turn: with About shown, every click before it is.
            x_session(session_env, "wait_for_window", str(process.pid), "about")
            yield process, x_server
        finally:
            process.kill()
    finally:
        x_server.stop()


def end_the_session(program, env, ending):
    """Ends the program with a summary pending by the signal named, or by taking its display
    away. Its exit status and what it said."""
    if ending == "display":
        # Qt ends the program with exit() from inside its event loop, everything still
        # allocated: under the sanitizers that is no leak worth reporting.
        env = dict(env, ASAN_OPTIONS=env.get("ASAN_OPTIONS", "") + ":detect_leaks=0")
    with program_clicked(program, env, ["summary", "about"]) as (process, x_server):
        started = time.monotonic()
        if ending == "display":
            x_server.stop()
        else:
            process.send_signal(getattr(signal, ending))
        status = process.wait(timeout=ENDING_TIME)
        said = process.stderr.read().decode("utf-8", errors="replace")
    log(f"== program ended by {ending}: status {status} after "
        f"{time.monotonic() - started:.1f} s")
    for line in said.splitlines():
        log("    " + line)
    return status, said


def second_signal_ends_at_once(program, env):
    """Started as nohup starts it, with a summary pending and a print service that never
    answers: ended by SIGTERM, the program prints at exit and waits for that service; a
    hang-up then stays ignored, and Ctrl+C ends it at once."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as silent:
        silent.bind(("127.0.0.1", 0))
        silent.listen(4)
        silent.settimeout(ENDING_TIME)
        service = dict(env, CUPS_SERVER="127.0.0.1:%d" % silent.getsockname()[1])
        with program_clicked(program, service, ["summary", "about"],
                             ignored=[signal.SIGHUP]) as (process, _):
            process.send_signal(signal.SIGTERM)
            try:
                silent.accept()[0].close()  # the print at exit has begun
            except socket.timeout:
                raise Failure("ended by SIGTERM, the program did not print at exit") from None
            # Both pending at once, the hang-up is delivered first: ignored, it changes nothing.
            process.send_signal(signal.SIGHUP)
            process.send_signal(signal.SIGINT)
            started = time.monotonic()
            status = process.wait(timeout=ENDING_TIME)
            took = time.monotonic() - started
    log(f"== a hang-up and Ctrl+C while printing at exit: status {status} after {took:.1f} s")
    if status != -signal.SIGINT or took > 1:
        raise Failure(f"the program ended with status {status} {took:.1f} s after Ctrl+C, "
                      f"not at once by SIGINT")


def check_ended_and_kept(program, env, ending, status, block):
    code, said = end_the_session(program, env, ending)
    if code != status:
        raise Failure(f"ended by {ending}, the program exited with {code}, not {status}")
    kept = re.search(r"^taqwim: .* kept as (.+\.pdf)$", said, re.M)
    if not kept:
        raise Failure(f"ended by {ending}, the program did not say where it kept the document")
    check_kept(kept.group(1), env["HOME"], f"kept-after-{ending}.pdf", block)


def sessions_ending(program, env, block):
    """Without a print service: each way a session ends leaves the document kept."""
    for ending in ["SIGTERM", "SIGHUP", "SIGINT"]:
        check_ended_and_kept(program, env, ending, 0, block)
    check_ended_and_kept(program, env, "display", 1, block)
    second_signal_ends_at_once(program, env)


def through_a_scheduler(program, env, root, block):
    """Prints on a Letter and an A4 queue, then meets a scheduler with no default printer.
    0 if that passed, SKIP if cupsd cannot start here."""
    scheduler = Scheduler(root)
    listener = None
    try:
        started = time.monotonic()
        try:
            scheduler.start(env)
        except CannotStart as why:
            log(f"SKIP: cupsd cannot start here: {why}")
            scheduler.explain()
            return SKIP
        log(f"cupsd listening on {scheduler.address} after {time.monotonic() - started:.1f} s")
        try:
            listener = Listener(os.path.join(root, "received"))
            for paper in PAPERS:
                print_on_paper(program, env, listener, root, paper, block)
            printed_at_the_end(program, env, listener, root, block)
        except Failure:
            scheduler.explain()
            raise
        log(f"passed with the scheduler in {time.monotonic() - started:.1f} s")
        return 0
    finally:
        scheduler.stop()
        if listener:
            listener.stop()


def add_default_queue(env, listener, root, queue, paper="A4"):
    path = os.path.join(root, f"{paper}.ppd")
    with open(path, "w", encoding="ascii") as out:
        out.write(ppd(paper))
    command(["lpadmin", "-p", queue, "-E", "-v", f"socket://127.0.0.1:{listener.port}", "-P",
             path], env, f"adding the queue {queue}")
    command(["lpadmin", "-d", queue], env, f"making {queue} the default")
    default = command(["lpstat", "-d"], env, "asking for the default")
    if queue not in default:
        raise Failure(f"the queue did not become the default: {default.strip()}")


def printed_at_the_end(program, env, listener, root, block):
    """With a working printer, a session that ends prints the document instead of keeping it."""
    add_default_queue(env, listener, root, QUEUE)
    before = len(listener.received())
    status, said = end_the_session(program, env, "SIGTERM")
    if status != 0:
        raise Failure(f"ended by SIGTERM with a printer, the program exited with {status}")
    if not re.fullmatch(r"taqwim: .* the pending print document was printed\n", said):
        raise Failure(f"ended by SIGTERM, the program did not say in one line that it printed")
    wait_for_queue_to_empty(env, listener)
    if len(listener.received()) != before + 1:
        raise Failure("the document pending at SIGTERM did not reach the printer")
    problems = differences(pdf_text(listener.received()[-1]), block)
    if problems:
        raise Failure("the summary printed at SIGTERM is not whole:\n  " + "\n  ".join(problems))
    documents = os.path.join(env["HOME"], "Documents")
    if os.path.isdir(documents) and os.listdir(documents):
        raise Failure(f"a printed document was kept as well: {os.listdir(documents)}")
    command(["lpadmin", "-x", QUEUE], env, "removing the queue")


def main(program, dates):
    check_the_reader()

    root = tempfile.mkdtemp(prefix="taqwim-print-e2e-")
    try:
        # The scheduler's helpers run as another user and must reach into it.
        os.chmod(root, 0o755)
        for name in ["home", "tmp", "client", "runtime", "received"]:
            os.makedirs(os.path.join(root, name), mode=0o700)
        # The tests' LOCPATH is for taqwim-date's Arabic names alone: the window runs without
        # it, as users run it (glibc's newlocale keeps a copy of the path it never frees,
        # which the sanitizer run would count against the window).
        env = {
            key: value
            for key, value in os.environ.items()
            if not key.startswith("CUPS_") and key not in ("LPDEST", "PRINTER", "LOCPATH")
        }
        env.update(
            # No client.conf or lpoptions from /etc/cups, no ~/.cups.
            CUPS_SERVERROOT=os.path.join(root, "client"),
            HOME=os.path.join(root, "home"),
            TMPDIR=os.path.join(root, "tmp"),
            XDG_RUNTIME_DIR=os.path.join(root, "runtime"),
            XDG_CONFIG_HOME=os.path.join(root, "home", ".config"),
            QT_QPA_PLATFORM="offscreen",
        )
        block = todays_block(dates)
        sessions_ending(program, dict(env, CUPS_SERVER=f"127.0.0.1:{free_port()}"), block)
        return through_a_scheduler(program, env, root, block)
    finally:
        shutil.rmtree(root, ignore_errors=True)


def stop_on_signal(number, _frame):
    # Turned into an exception so that the clean-up in main() runs.
    raise SystemExit(f"stopped by signal {number}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(number, stop_on_signal)
    try:
        sys.exit(main(*sys.argv[1:]))
    except Failure as failure:
        log(f"FAILED: {failure}")
        sys.exit(1)
