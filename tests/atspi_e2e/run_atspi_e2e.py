#!/usr/bin/python3
"""Drives the real program through AT-SPI, the way a screen reader and its user do, and at
the end with the mouse.

    [X_SESSION_WM=openbox] run_atspi_e2e.py PATH/TO/taqwim

Everything the program is asked to do goes through the accessibility tree: controls are
found by their accessible name and role, texts are read with the Text interface and
written with EditableText, buttons are pressed with their Action. A control that a
screen reader cannot find, read or operate therefore fails the test even when the
mouse would still work. Last, the mouse opens About and the main window is closed first:
the program must go on, as an answer through the accessibility bus shows, and end with
status 0 once About is closed too. Without a window manager, the program is also started
with no display at all, and must say so in one line and fail.

With X_SESSION_WM set, that window manager runs in the X server too, and what only a
window manager shows is checked as well: the title it puts on the main window, an About
window minimised with it, and the keyboard's Return key. Windows are found and handled
through scripts/x-session.sh, as the scripts that show the program do.

The X server, the session bus, the accessibility bus and the program all run privately
and are stopped on every way out. Exit status: 0 passed, 1 failed, 77 the accessibility
bus could not be brought up here (reported as skipped).
"""

import ctypes
import datetime
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

try:
    from gi.repository import Gio, GLib
except ImportError:  # then pyatspi cannot be imported either, which is reported as a skip
    Gio = GLib = None

PASSED, FAILED, SKIPPED = 0, 1, 77

GREGORIAN_MONTHS = ["يناير", "فبراير", "مارس", "أبريل", "مايو", "يونيو", "يوليو", "أغسطس",
                    "سبتمبر", "أكتوبر", "نوفمبر", "ديسمبر"]
WEEKDAYS = ["الأحد", "الاثنين", "الثلاثاء", "الأربعاء", "الخميس", "الجمعة", "السبت"]

DAY, MONTH, YEAR = "اليوم", "الشهر", "السنة"
SOURCE_DATE, SOURCE_MONTH = "التاريخ المدخل", "رقم الشهر في التاريخ المدخل"
TARGET_DATE, TARGET_MONTH = "التاريخ المقابل", "رقم الشهر في التاريخ المقابل"
WEEKDAY = "اسم اليوم"
RESULT_FIELDS = [SOURCE_DATE, SOURCE_MONTH, TARGET_DATE, TARGET_MONTH, WEEKDAY]
MAIN_WINDOW = "تقويم"
CONVERT, EXIT, ABOUT = "تحويل", "خروج", "عن البرنامج"
GREGORIAN_TO_HIJRI, HIJRI_TO_GREGORIAN = "الميلادي إلى الهجري", "الهجري إلى الميلادي"
ABOUT_TITLE, ABOUT_LIST, ABOUT_RETURN = "عن البرنامج", "معلومات عن البرنامج", "عــودة إلى البرنامج"
MESSAGE_OK = "موافق"

PR_SET_PDEATHSIG, PR_SET_CHILD_SUBREAPER = 1, 36

ARABIC_LETTER = re.compile("[\u0621-\u064a]")

X_SESSION = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                         "scripts", "x-session.sh")


class Failure(Exception):
    pass


class Unavailable(Exception):
    """The machine cannot give the program an accessibility bus; nothing was tested."""


def step(message):
    print(f"[atspi-e2e] {message}", flush=True)


def expect(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(probe, seconds, interval=0.1):
    """The first truthy value of probe(), or None once the time is up."""
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def x_session(*arguments):
    """What one of the shared X session's window functions says about the test's display."""
    done = subprocess.run([X_SESSION, *arguments], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True)
    expect(done.returncode == 0, done.stderr.strip() or f"x-session.sh {arguments} failed")
    return done.stdout.strip()


def keys(*names):
    """Types keys on the keyboard, into whichever window has the focus."""
    subprocess.run(["xdotool", "key", *names], check=True)


def libc():
    return ctypes.CDLL(None, use_errno=True)


def die_with_parent():
    # Runs in each child before exec: if this script is killed outright (a ctest time-out
    # sends SIGKILL), no finally block runs, so the kernel has to end the children.
    libc().prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


class Processes:
    """Every process the test starts, each leading its own process group."""

    def __init__(self):
        self.started = []

    def start(self, name, command, **options):
        try:
            process = subprocess.Popen(command, start_new_session=True,
                                       preexec_fn=die_with_parent, **options)
        except FileNotFoundError as error:
            raise Unavailable(f"cannot run {command[0]}: {error}") from error
        self.started.append((name, process))
        return process

    def stop_all(self):
        # The accessibility bus launcher's own bus daemon and the registry it activates
        # stay in the launcher's group after they are orphaned, so signalling groups
        # reaches them too; newest first, so the program goes before its buses.
        for _, process in reversed(self.started):
            self._stop(process)
        self.started.clear()
        self._reap_orphans()

    @staticmethod
    def _signal_group(process, signum):
        try:
            os.killpg(process.pid, signum)
        except ProcessLookupError:
            pass

    def _stop(self, process):
        self._signal_group(process, signal.SIGTERM)
        try:
            process.wait(timeout=3)
        except subprocess.TimeoutExpired:
            self._signal_group(process, signal.SIGKILL)
            process.wait()
        # The leader may be gone while others in its group are not.
        self._signal_group(process, signal.SIGKILL)

    @staticmethod
    def _reap_orphans():
        # This script is the subreaper of what it started; collect whatever was
        # orphaned to it so that nothing is left as a zombie.
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            try:
                pid, _ = os.waitpid(-1, os.WNOHANG)
            except ChildProcessError:
                return
            if pid == 0:
                time.sleep(0.05)


def start_x_server(processes):
    # Xvfb picks a free display itself and writes its number once it accepts clients.
    # Without -noreset the server resets whenever its last client leaves (the bus launcher
    # does, right after it has published the bus address), and a program connecting during
    # the reset is turned away.
    read_end, write_end = os.pipe()
    processes.start("Xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             "1024x768x24", "-nolisten", "tcp", "-noreset"],
                    pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number.isdigit():
        raise Unavailable("Xvfb did not start")
    return f":{number}"


def start_session_bus(processes, environment, folder):
    # Services it starts on demand, the accessibility bus launcher among them, inherit this
    # environment and so use the private display and folder.
    daemon = processes.start("session bus",
                             ["dbus-daemon", "--session", "--nofork", "--print-address=1",
                              f"--address=unix:path={folder}/session_bus"],
                             env=environment, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
    address = daemon.stdout.readline().strip()
    if not address:
        raise Unavailable("the private D-Bus session bus did not start")
    return address


def accessibility_bus_address(session_address, start_on_demand):
    """What org.a11y.Bus answers on the session bus, or None."""
    try:
        connection = Gio.DBusConnection.new_for_address_sync(
                session_address,
                Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
                | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
    except GLib.Error:
        return None
    flags = Gio.DBusCallFlags.NONE if start_on_demand else Gio.DBusCallFlags.NO_AUTO_START
    try:
        reply = connection.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                     "GetAddress", None, GLib.VariantType("(s)"), flags,
                                     10000 if start_on_demand else 1000, None)
        return reply.unpack()[0] or None
    except GLib.Error:
        return None
    finally:
        connection.close_sync(None)


def start_accessibility_bus(processes, environment, folder):
    """The address of the accessibility bus, once org.a11y.Bus offers it on the session bus.

    Qt 6.4 finds the bus only by asking org.a11y.Bus (it does not act on AT_SPI_BUS_ADDRESS
    or the X root window alone), so a bare bus daemon is no substitute for the launcher.
    """
    if Gio is None:
        raise Unavailable("python3-gi is not importable")
    session = environment["DBUS_SESSION_BUS_ADDRESS"]
    launcher = "/usr/libexec/at-spi-bus-launcher"
    log_path = os.path.join(folder, "launcher.txt")
    if os.access(launcher, os.X_OK):
        with open(log_path, "w") as log:
            process = processes.start("accessibility bus launcher",
                                      [launcher, "--launch-immediately"], env=environment,
                                      stdout=log, stderr=subprocess.STDOUT)
        # Not started on demand while waiting, so that no second launcher races this one.
        address = wait_until(lambda: accessibility_bus_address(session, False)
                             or process.poll() is not None, 10, 0.2)
        if isinstance(address, str):
            return address
        step("the accessibility bus launcher offered no address; asking the session bus to "
             "start one as a desktop session would")
    address = accessibility_bus_address(session, True)
    if address:
        return address
    said = "nothing"
    if os.path.exists(log_path):
        with open(log_path) as log:
            said = log.read().strip()[-600:] or said
    raise Unavailable(f"no accessibility bus: {launcher} (Debian package at-spi2-core) did not "
                      f"offer one, started directly or by the session bus; it said: {said}")


def import_pyatspi():
    try:
        import pyatspi  # noqa: imported late: it reads the bus addresses when loaded
        from gi.repository import Atspi
    except ImportError as error:
        raise Unavailable(f"python3-pyatspi is not importable: {error}") from error
    # The defaults suit a quick desktop; an instrumented build answers more slowly.
    Atspi.set_timeout(5000, 30000)
    return pyatspi


class Program:
    """The running program as AT-SPI shows it."""

    def __init__(self, pyatspi, process):
        self.pyatspi = pyatspi
        self.process = process
        self.application = None
        self.window = None  # the main window's X id, where there is a window manager
        self.controls = {}  # the main window's, by role and name, as found
        self.told = []  # (event, role, name) of what a screen reader was told, once listening
        self.announces = qt_version(process.args[0]) >= (6, 8)

    def find_application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        desktop.clearCache()
        for application in desktop:
            if application is not None and application.get_process_id() == self.process.pid:
                return application
        return None

    def attach(self):
        self.application = wait_until(self.find_application, 20, 0.2)
        expect(self.application is not None,
               f"no application with process id {self.process.pid} in the AT-SPI desktop")
        expect(self.application.name == "taqwim",
               f"the application calls itself {self.application.name!r}, not 'taqwim'")

    def listen(self):
        """From now on, keeps what a screen reader is told of the program as it happens: each
        control that takes the focus and each notification that appears, with its name then,
        and each announcement, with its words."""
        self.pyatspi.Registry.registerEventListener(self._told, "object:state-changed:focused",
                                                    "object:state-changed:showing",
                                                    "object:announcement")

    def _told(self, event):
        try:
            if event.source.get_process_id() != self.process.pid:
                return
            if event.type == "object:announcement":
                self.told.append((event.type, event.source.getRole(), str(event.any_data)))
            elif event.detail1:
                self.told.append((event.type, event.source.getRole(), event.source.name))
        except GLib.GError:
            pass  # gone before it could be asked

    def told_since(self, mark):
        """What a screen reader was told after told_since(...) was as long as mark; events wait
        in the main loop until it runs."""
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        return self.told[mark:]

    def windows(self):
        """The showing top-level windows of the program."""
        self.application.clearCache()
        windows = []
        for window in self.application:
            try:
                if window is not None and showing(self.pyatspi, window):
                    windows.append(window)
            except GLib.GError:
                pass  # closed while being looked at
        return windows

    def find(self, role, name, within=None):
        """The showing element with this role and accessible name, waiting for it. A control
        of the main window is looked for once, and asked afterwards whether it still shows:
        walking the whole tree took a third of a second for each reading of the results."""
        known = self.controls.get((role, name)) if within is None else None
        try:
            if known is not None and in_state(known, self.pyatspi.STATE_SHOWING):
                return known
        except GLib.GError:
            pass  # its window has closed
        def probe():
            scopes = [within] if within is not None else self.windows()
            for scope in scopes:
                found = find_in(scope, lambda node: node.getRole() == role and node.name == name
                                and showing(self.pyatspi, node))
                if found is not None:
                    return found
            return None
        found = wait_until(probe, 10)
        if found is None:
            self.dump()
            raise Failure(f"no {role_name(self.pyatspi, role)}named {name!r} through AT-SPI")
        if within is None:
            self.controls[(role, name)] = found
        return found

    def field(self, name):
        return self.find(self.pyatspi.ROLE_TEXT, name)

    def read(self, name):
        return text_of(self.field(name))

    def results(self):
        return {name: self.read(name) for name in RESULT_FIELDS}

    def type_into(self, name, value):
        field = self.field(name)
        try:
            editable = field.queryEditableText()
        except NotImplementedError as error:
            raise Failure(f"the field {name!r} offers no EditableText") from error
        editable.setTextContents(value)
        expect(wait_until(lambda: text_of(field) == value, 3),
               f"the field {name!r} holds {text_of(field)!r} after writing {value!r} into it")

    def enter_date(self, day, month, year):
        for name, value in ((DAY, day), (MONTH, month), (YEAR, year)):
            self.type_into(name, str(value))

    def press(self, name, within=None):
        press(self.find(self.pyatspi.ROLE_PUSH_BUTTON, name, within), name)

    def choose(self, name):
        option = self.find(self.pyatspi.ROLE_RADIO_BUTTON, name)
        checked = self.pyatspi.STATE_CHECKED
        if not in_state(option, checked):
            press(option, name)
        expect(wait_until(lambda: in_state(option, checked), 3),
               f"the option {name!r} is not selected after operating it")
        for other in (GREGORIAN_TO_HIJRI, HIJRI_TO_GREGORIAN):
            if other != name:
                expect(not in_state(self.find(self.pyatspi.ROLE_RADIO_BUTTON, other), checked),
                       f"{other!r} is still selected together with {name!r}")

    def wait_for_focus(self, control, name):
        expect(wait_until(lambda: in_state(control, self.pyatspi.STATE_FOCUSED), 5),
               f"{name!r} does not have the keyboard focus")

    def focus(self, name):
        """Puts the keyboard focus in a field, as a screen reader's user moving to it does."""
        field = self.field(name)
        field.queryComponent().grabFocus()
        self.wait_for_focus(field, name)
        return field

    def wait_for_results(self, expected):
        """Waits for the result fields to read as expected, then checks every one."""
        wait_until(lambda: self.results() == expected, 5, 0.2)
        actual = self.results()
        for name in RESULT_FIELDS:
            expect(actual[name] == expected[name],
                   f"{name!r} reads {actual[name]!r}, expected {expected[name]!r}")

    def dump(self):
        step("what AT-SPI shows of the program:")
        try:
            self.application.clearCache()
            dump_tree(self.application, "  ")
        except Exception as error:  # the dump only helps explain a failure already found
            step(f"  (could not walk the tree: {error})")


def qt_version(program_path):
    """The version of the Qt library the program is loaded with, as (major, minor)."""
    needed = subprocess.run(["ldd", program_path], capture_output=True, text=True).stdout
    for line in needed.splitlines():
        if "libQt6Core.so" in line and "=>" in line:
            library = os.path.realpath(line.split("=>")[1].split()[0])
            version = re.search(r"\.so\.(\d+)\.(\d+)", library)
            if version:
                return int(version[1]), int(version[2])
    raise Failure(f"cannot tell which Qt {program_path} is loaded with")


def find_in(node, matches):
    try:
        node.clearCache()
        if matches(node):
            return node
        children = [child for child in node if child is not None]
    except GLib.GError:
        # The object went away while being looked at: a window closing, say.
        return None
    for child in children:
        found = find_in(child, matches)
        if found is not None:
            return found
    return None


def all_names_and_texts(node):
    words = [node.name]
    try:
        words.append(text_of(node))
    except NotImplementedError:
        pass
    for child in node:
        if child is not None:
            words.extend(all_names_and_texts(child))
    return [word for word in words if word]


def dump_tree(node, indent):
    try:
        text = repr(text_of(node))
    except NotImplementedError:
        text = ""
    print(f"{indent}{node.getRoleName()} {node.name!r} {text}", flush=True)
    for child in node:
        if child is not None:
            dump_tree(child, indent + "  ")


def text_of(node):
    return node.queryText().getText(0, -1)


def showing(pyatspi, node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def in_state(node, state):
    node.clearCache()
    return node.getState().contains(state)


def role_name(pyatspi, role):
    return {pyatspi.ROLE_TEXT: "text field ", pyatspi.ROLE_PUSH_BUTTON: "button ",
            pyatspi.ROLE_RADIO_BUTTON: "option ", pyatspi.ROLE_LIST: "list "}.get(role, "")


def press(node, name):
    """Operates a control through its action, as a screen reader's activate command does."""
    try:
        action = node.queryAction()
    except NotImplementedError as error:
        raise Failure(f"{name!r} offers no action to operate it") from error
    names = [action.getName(index).lower() for index in range(action.nActions)]
    expect(names, f"{name!r} offers no action to operate it")
    for wanted in ("press", "click", "toggle"):
        if wanted in names:
            expect(action.doAction(names.index(wanted)), f"{name!r} refused its {wanted} action")
            return
    expect(action.doAction(0), f"{name!r} refused its {names[0]} action")


def gregorian_long_date(day):
    return f"{day.day} {GREGORIAN_MONTHS[day.month - 1]} {day.year} م"


def check_today(program, started_on):
    windows = [(window.getRoleName(), window.name) for window in program.windows()]
    expect(windows == [("frame", MAIN_WINDOW)],
           f"the program shows {windows!r}, not one frame named {MAIN_WINDOW!r}")
    shown = {name: program.read(name) for name in (DAY, MONTH, YEAR, SOURCE_DATE, WEEKDAY)}
    # Midnight may fall between the program's start and this reading.
    today = datetime.date.today()
    if shown[SOURCE_DATE] == gregorian_long_date(started_on):
        today = started_on
    expect(shown[DAY] == str(today.day), f"the day field shows {shown[DAY]!r}, not {today.day}")
    expect(shown[MONTH] == str(today.month),
           f"the month field shows {shown[MONTH]!r}, not {today.month}")
    expect(shown[YEAR] == str(today.year),
           f"the year field shows {shown[YEAR]!r}, not {today.year}")
    expect(shown[SOURCE_DATE] == gregorian_long_date(today),
           f"{SOURCE_DATE!r} reads {shown[SOURCE_DATE]!r}, not {gregorian_long_date(today)!r}")
    expect(program.read(SOURCE_MONTH) == str(today.month),
           f"{SOURCE_MONTH!r} does not read today's month {today.month}")
    weekday = WEEKDAYS[(today.weekday() + 1) % 7]
    expect(shown[WEEKDAY] == weekday,
           f"{WEEKDAY!r} reads {shown[WEEKDAY]!r}, not today's {weekday!r}")
    hijri = program.read(TARGET_DATE)
    expect(re.fullmatch(r"\d+ \S.* \d+ هـ", hijri),
           f"{TARGET_DATE!r} reads {hijri!r}, not a Hijri long date")
    step(f"at start: {shown[DAY]}/{shown[MONTH]}/{shown[YEAR]}, {shown[SOURCE_DATE]}, "
         f"{hijri}, {shown[WEEKDAY]}")


def focus_moves(told):
    return [name for event, _, name in told if event.endswith(":focused")]


def spoken(program, told):
    """What a screen reader speaks of its own accord: announcements where Qt has them (6.8 on),
    and before that notifications as they appear."""
    if program.announces:
        return [words for event, _, words in told if event == "object:announcement"]
    notification = program.pyatspi.ROLE_NOTIFICATION
    return [name for _, role, name in told if role == notification]


def expect_result_spoken(program, mark, results):
    """One announcement or notification, with the weekday, the date as entered and the
    converted date, is what makes a screen reader speak a result while the focus stays where
    it was."""
    said = lambda: spoken(program, program.told_since(mark))
    wait_until(said, 5)
    sentence = f"{results[WEEKDAY]}، {results[SOURCE_DATE]} الموافق {results[TARGET_DATE]}"
    expect(said() == [sentence], f"a screen reader was given {said()!r} to speak, not [{sentence!r}]")
    moves = focus_moves(program.told_since(mark))
    expect(not moves, f"the conversion moved the focus to {moves!r}")
    kind = "announcement" if program.announces else "notification"
    step(f"a screen reader is given one {kind} to speak: {sentence}")


def check_gregorian_to_hijri(program):
    program.choose(GREGORIAN_TO_HIJRI)
    program.enter_date(11, 3, 2024)
    mark = len(program.told_since(0))
    program.press(CONVERT)
    expected = {SOURCE_DATE: "11 مارس 2024 م", SOURCE_MONTH: "3",
                TARGET_DATE: "1 رمضان 1445 هـ", TARGET_MONTH: "9", WEEKDAY: "الاثنين"}
    program.wait_for_results(expected)
    step(f"11/3/2024 Gregorian converts to {expected[TARGET_DATE]}, {expected[WEEKDAY]}")
    expect_result_spoken(program, mark, expected)
    return expected


def check_hijri_to_gregorian(program, first):
    # The Hijri date typed back is the one the program has just shown, as a user would.
    match = re.fullmatch(r"(\d+) \S.* (\d+) هـ", first[TARGET_DATE])
    expect(match, f"cannot read a Hijri day and year from {first[TARGET_DATE]!r}")
    day, year = match.group(1), match.group(2)
    month = first[TARGET_MONTH]
    program.choose(HIJRI_TO_GREGORIAN)
    program.enter_date(day, month, year)
    mark = len(program.told_since(0))
    program.press(CONVERT)
    swapped = {SOURCE_DATE: first[TARGET_DATE], SOURCE_MONTH: first[TARGET_MONTH],
               TARGET_DATE: first[SOURCE_DATE], TARGET_MONTH: first[SOURCE_MONTH],
               WEEKDAY: first[WEEKDAY]}
    program.wait_for_results(swapped)
    step(f"{day}/{month}/{year} Hijri converts back to {swapped[TARGET_DATE]}")
    expect_result_spoken(program, mark, swapped)
    return swapped


def message_boxes(program):
    alert_roles = (program.pyatspi.ROLE_ALERT, program.pyatspi.ROLE_DIALOG)
    boxes = []
    for window in program.windows():
        found = find_in(window, lambda node: node.getRole() in alert_roles)
        if found is not None:
            boxes.append(found)
    return boxes


def check_impossible_date(program, before):
    program.choose(GREGORIAN_TO_HIJRI)
    program.enter_date(31, 2, 2021)
    expect(not message_boxes(program), "a message box is showing before the conversion")
    mark = len(program.told_since(0))
    program.press(CONVERT)
    boxes = wait_until(lambda: message_boxes(program), 10)
    if not boxes:
        program.dump()
        raise Failure("converting 31/2/2021 showed no alert or dialog through AT-SPI")
    box = boxes[0]
    words = all_names_and_texts(box)
    message = [word for word in words if ARABIC_LETTER.search(word) and word != MESSAGE_OK]
    expect(message, f"the message box says nothing in Arabic: {words!r}")
    step(f"31/2/2021 is refused with a message box ({box.getRoleName()}): {' | '.join(message)}")
    program.press(MESSAGE_OK, within=box)
    expect(wait_until(lambda: not message_boxes(program), 5),
           f"the message box is still showing after pressing {MESSAGE_OK!r}")
    after = program.results()
    for name in RESULT_FIELDS:
        expect(after[name] == before[name],
               f"the refused date changed {name!r} from {before[name]!r} to {after[name]!r}")
    notices = spoken(program, program.told_since(mark))
    expect(not notices, f"a refused date was spoken as a result: {notices!r}")
    step("the message box is dismissed, and the results are unchanged and not spoken")


def about_windows(program):
    return [window for window in program.windows() if window.name == ABOUT_TITLE]


def check_about(program):
    expect(not about_windows(program), "the About window is showing before it is asked for")
    program.press(ABOUT)
    windows = wait_until(lambda: about_windows(program), 10)
    if not windows:
        program.dump()
        raise Failure(f"pressing {ABOUT!r} showed no window named {ABOUT_TITLE!r}")
    window = windows[0]
    expect(window.getRole() == program.pyatspi.ROLE_DIALOG,
           f"the About window is a {window.getRoleName()}, not a dialog")
    extents = window.queryComponent().getExtents(program.pyatspi.DESKTOP_COORDS)
    expect((extents.width, extents.height) == (403, 247),
           f"the About window is {extents.width}x{extents.height}, not 403x247")
    listing = program.find(program.pyatspi.ROLE_LIST, ABOUT_LIST, within=window)
    # What the lines say is the About window's widget test's; here a screen reader reads them.
    lines = [item.name for item in listing
             if item is not None and item.getRole() == program.pyatspi.ROLE_LIST_ITEM]
    expect(len(lines) == 6 and all(ARABIC_LETTER.search(line) for line in lines),
           f"the About list reads {lines!r}, not six lines in Arabic")
    step(f"a screen reader reads the About window's {len(lines)} lines")
    program.press(ABOUT_RETURN, within=window)
    expect(wait_until(lambda: not about_windows(program), 5),
           f"the About window is still showing after pressing {ABOUT_RETURN!r}")
    step("the About window is closed by its return button")


def check_title(program):
    title = x_session("window_title", program.window)
    expect(ARABIC_LETTER.search(title) and not re.search("[A-Za-z]", title),
           f"the window manager titles the main window {title!r}, not in Arabic alone")
    step(f"the window manager titles the main window {title!r}")


def check_minimised_about(program):
    program.press(ABOUT)
    window = x_session("wait_for_window", str(program.process.pid), "about")
    x_session("minimise", window)
    program.press(ABOUT)
    x_session("wait_for_state", window, "Normal")
    step(f"a minimised About window is shown again by {ABOUT!r}")
    program.press(ABOUT_RETURN, within=about_windows(program)[0])
    expect(wait_until(lambda: not about_windows(program), 5),
           f"the About window is still showing after pressing {ABOUT_RETURN!r}")


def check_return_key(program):
    x_session("activate", program.window)
    program.choose(GREGORIAN_TO_HIJRI)
    program.enter_date(1, 1, 2025)
    before = program.results()
    day = program.focus(DAY)
    # The program handles its keys in the order they come, so once Tab has taken the
    # focus out of the field, Return in it has been handled too.
    keys("Return", "Tab")
    expect(wait_until(lambda: not in_state(day, program.pyatspi.STATE_FOCUSED), 5),
           f"Tab did not take the focus out of {DAY!r}")
    after = program.results()
    expect(after == before, f"Return in {DAY!r} changed the results to {after!r}")
    step(f"Return in {DAY!r} converts nothing")
    program.focus(YEAR)
    mark = len(program.told_since(0))
    keys("Tab")
    program.wait_for_focus(program.find(program.pyatspi.ROLE_PUSH_BUTTON, CONVERT), CONVERT)
    moves = focus_moves(program.told_since(mark))
    expect(moves == [CONVERT], f"Tab out of {YEAR!r} told a screen reader the focus went to "
                               f"{moves!r}, not to {CONVERT!r} alone")
    step(f"Tab out of {YEAR!r} goes straight to {CONVERT!r}, as a screen reader is told")
    mark = len(program.told_since(0))
    keys("Return")
    expected = {SOURCE_DATE: "1 يناير 2025 م", SOURCE_MONTH: "1", TARGET_DATE: "1 رجب 1446 هـ",
                TARGET_MONTH: "7", WEEKDAY: "الأربعاء"}
    program.wait_for_results(expected)
    step(f"Return on the focused {CONVERT!r} converts 1/1/2025 to 1 رجب 1446 هـ")
    expect_result_spoken(program, mark, expected)


def main_windows(program):
    return [window for window in program.windows() if window.name == MAIN_WINDOW]


def check_closing_main_first(program):
    """The program goes on while About is open after the main window is closed, and ends
    with status 0 once About is closed too; the About strip and About's return button are
    clicked with the mouse."""
    expect(program.process.poll() is None, "the program ended while its main window was open")
    pid = str(program.process.pid)
    main = program.window or x_session("wait_for_window", pid, "main")
    x_session("click", main, "about")
    about = x_session("wait_for_window", pid, "about")
    program.press(EXIT)
    expect(wait_until(lambda: not main_windows(program), 5),
           f"the main window is still showing after pressing {EXIT!r}")
    # An answer through the accessibility bus after the close: the program's loop goes on.
    expect(about_windows(program) and program.process.poll() is None,
           "closing the main window ended the program while About was open")
    step("with About open, closing the main window leaves the program running")
    x_session("click", about, "return")
    try:
        status = program.process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        raise Failure("the program is still running 10 s after both windows were closed") from None
    if status < 0:
        raise Failure(f"the program was ended by {signal.Signals(-status).name}")
    expect(status == 0, f"the program ended with status {status}")
    step("closing About with the mouse then ended the program with status 0")


def check_no_display(program_path, environment):
    """Started without a display, the program says so once, in Arabic and English, and fails."""
    bare = {key: value for key, value in environment.items()
            if key not in ("DISPLAY", "WAYLAND_DISPLAY")}
    done = subprocess.run([program_path], env=dict(bare, QT_QPA_PLATFORM="xcb"),
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                          timeout=10)
    lines = done.stderr.splitlines()
    expect(done.returncode == 1,
           f"with no display the program ended with status {done.returncode}, not 1")
    expect(len(lines) == 1, f"with no display the program wrote {len(lines)} lines, not one: "
                            f"{lines!r}")
    expect(ARABIC_LETTER.search(lines[0]), f"no Arabic in: {lines[0]}")
    expect(re.search("[A-Za-z]{3}", lines[0]), f"no English in: {lines[0]}")
    step(f"with no display: status 1 and one line: {lines[0]}")


def start_window_manager(processes, environment, manager):
    # Left running by the script, in the process group that is stopped with it.
    starter = processes.start("window manager", [X_SESSION, "start_window_manager", manager],
                              env=environment)
    expect(starter.wait() == 0, f"the window manager {manager} did not start")


def run(program_path, processes, folder):
    if not os.access(program_path, os.X_OK):
        raise Failure(f"{program_path} is not an executable program")
    display = start_x_server(processes)
    environment = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=folder)
    # Nothing of the desktop this may run in must leak into the private one.
    for variable in ("AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "XAUTHORITY"):
        environment.pop(variable, None)
    manager = environment.get("X_SESSION_WM")
    if manager:
        start_window_manager(processes, environment, manager)
    environment["DBUS_SESSION_BUS_ADDRESS"] = start_session_bus(processes, environment, folder)
    bus = start_accessibility_bus(processes, environment, folder)
    step(f"X display {display}, accessibility bus {bus}")

    # This process is a screen reader on the same buses.
    os.environ.clear()
    os.environ.update(environment)
    pyatspi = import_pyatspi()

    errors_path = os.path.join(folder, "program-output.txt")
    started_on = datetime.date.today()
    with open(errors_path, "w") as errors:
        process = processes.start(
                "taqwim", [program_path],
                env=dict(environment, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb"),
                stdout=errors, stderr=subprocess.STDOUT)
    program = Program(pyatspi, process)
    try:
        program.attach()
        program.listen()
        step(f"found the program (process {process.pid}) in the AT-SPI desktop")
        check_today(program, started_on)
        if manager:
            program.window = x_session("wait_for_window", str(process.pid), "main")
            check_title(program)
        first = check_gregorian_to_hijri(program)
        back = check_hijri_to_gregorian(program, first)
        check_impossible_date(program, back)
        check_about(program)
        if manager:
            check_minimised_about(program)
            check_return_key(program)
        check_closing_main_first(program)
    except BaseException:
        show_output(errors_path)
        raise
    # It needs no X session, so one of the two runs is enough.
    if not manager:
        check_no_display(program_path, environment)


def show_output(path):
    """What the program printed, which explains most failures (a sanitizer report, say)."""
    with open(path) as output:
        report = output.read().strip()
    if report:
        step("the program wrote:")
        print(report, flush=True)


STOP_SIGNALS = (signal.SIGTERM, signal.SIGINT, signal.SIGHUP)


def stopped(signum, frame):
    # A polite stop becomes a failure, so that the cleanup runs; a second one must not
    # cut that cleanup short.
    for other in STOP_SIGNALS:
        signal.signal(other, signal.SIG_IGN)
    raise Failure(f"stopped by signal {signal.Signals(signum).name}")


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} PATH/TO/taqwim", file=sys.stderr)
        return FAILED
    started = time.monotonic()
    for signum in STOP_SIGNALS:
        signal.signal(signum, stopped)
    libc().prctl(PR_SET_CHILD_SUBREAPER, 1)
    processes = Processes()
    folder = tempfile.mkdtemp(prefix="taqwim-atspi-")
    try:
        run(os.path.abspath(sys.argv[1]), processes, folder)
    except Unavailable as reason:
        step(f"SKIPPED: {reason}")
        return SKIPPED
    except Failure as failure:
        step(f"FAILED: {failure}")
        return FAILED
    except Exception:
        # An AT-SPI call that errs or times out is as much a failure as a wrong text.
        traceback.print_exc()
        step("FAILED: see the error above")
        return FAILED
    finally:
        for signum in STOP_SIGNALS:
            signal.signal(signum, signal.SIG_IGN)
        processes.stop_all()
        shutil.rmtree(folder, ignore_errors=True)
    step(f"PASSED in {time.monotonic() - started:.1f} s")
    return PASSED


if __name__ == "__main__":
    sys.exit(main())
