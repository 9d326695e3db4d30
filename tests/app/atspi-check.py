#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
"""What a screen reader gets of the real window, read through AT-SPI.

Starts the program under a private X server (xvfb-run) and a private session
bus (dbus-run-session) with the accessibility bus of at-spi2-core, converts a
long number in it and reads, as Orca would, the progress bar while the run
goes on, the list headers, the ticks of the result rows and the row that
gets the focus. Every check polls with a timeout. Where the tools or the accessibility bus are missing
the test is skipped (exit status 77), naming what is missing.

Usage: atspi-check.py PROGRAM [--dump]
--dump also prints the role, name, states and interfaces of the lists, their
first children and the progress bar, before and after the run.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

INSIDE = "DIGITOME_ATSPI_INSIDE"
SKIP = 77
# A number whose mnemonic run ("Words and numbers") gives 491,866 lines: long
# enough to be read while it goes on.
LONG_NUMBER = "22222222222222"
GENERATING = re.compile(r"^Generating words\.\. please wait\.\. \d+$")


def skip(what):
    print(f"SKIP: {what}: run tools/install-deps.sh test")
    sys.exit(SKIP)


def start_inside():
    """Runs this script again under its own X server and session bus."""
    for tool, package in (("xvfb-run", "xvfb"), ("dbus-run-session", "dbus"),
                          ("xdotool", "xdotool")):
        if not shutil.which(tool):
            skip(f"{tool} is not installed ({package})")
    check = subprocess.run([sys.executable, "-c", "import pyatspi"], capture_output=True)
    if check.returncode != 0:
        skip(f"{sys.executable} cannot import pyatspi (python3-pyatspi)")
    env = dict(os.environ, **{INSIDE: "1"})
    command = ["xvfb-run", "-a", "dbus-run-session", "--", sys.executable] + sys.argv
    sys.exit(subprocess.run(command, env=env).returncode)


def poll(read, accept, timeout, pump=None):
    """Reads until accept(value) or the timeout; returns the last value read
    and whether it was accepted. A read that fails gives its error."""
    end = time.monotonic() + timeout
    while True:
        try:
            value = read()
        except Exception as error:  # an interface that is missing or went away
            value = error
        try:
            accepted = not isinstance(value, Exception) and bool(accept(value))
        except Exception:
            accepted = False
        if accepted or time.monotonic() > end:
            return value, accepted
        if pump:
            pump()
        time.sleep(0.01)


class Window:
    """The program's AT-SPI tree, found by roles and names."""

    def __init__(self, pyatspi, app):
        self.pyatspi = pyatspi
        self.app = app
        self.numbers = poll(lambda: self.find("list", "Phone numbers"), bool, 10)[0]
        self.results = self.find("list", "Results")
        self.progress = self.find("progress bar")
        self.text_changes = []  # the roles of the objects whose text changed
        self.captions_heard = []  # the progress bar's texts those changes told
        self.focused = []  # the objects that got the focus

    def find(self, role, name=None):
        match = lambda node: node is not None and node.getRoleName() == role and (
            name is None or node.name == name)
        return self.pyatspi.findDescendant(self.app, match)

    def press(self, name):
        self.find("push button", name).queryAction().doAction(0)

    def states(self, node):
        return sorted(self.pyatspi.stateToString(s) for s in node.getState().getStates())

    def caption(self):
        return self.progress.queryText().getText(0, -1)

    def first_row(self):
        return self.results.getChildAtIndex(1)


def header_of(lst):
    header = lst.getChildAtIndex(0)
    return header.getRoleName(), header.name


def row_and_place(w):
    """The first result row on screen, its row number by the table, the
    number of rows and the name of the row the table gives at that number."""
    row = w.first_row()
    table = w.results.queryTable()
    position = table.getRowAtIndex(row.getIndexInParent())
    return row.name, position + 1, table.nRows, table.getAccessibleAt(position, 0).name


def focused_row(w):
    """What got the focus last: its role, whether it says it has the focus,
    its row number and the rows selected."""
    if not w.focused:
        return None
    node = w.focused[-1]
    table = w.results.queryTable()
    position = table.getRowAtIndex(node.getIndexInParent())
    return node.getRoleName(), "focused" in w.states(node), position, table.getSelectedRows()


def far_row(w):
    table = w.results.queryTable()
    far = table.getAccessibleAt(table.nRows // 2, 0)
    return far.name, far.getIndexInParent()


# What is checked, in order: (name, what is read, what is accepted, seconds to
# wait for it).
def before_the_run(w):
    return [
        ("progress bar interfaces", lambda: w.progress.get_interfaces(),
         lambda seen: {"Text", "Value"} <= set(seen), 0),
        ("progress bar text", w.caption, lambda seen: seen == "Progress Bar", 0),
        ("header of the number list", lambda: header_of(w.numbers),
         lambda seen: seen == ("table column header", "Phone Number"), 0),
        ("header of the results list", lambda: header_of(w.results),
         lambda seen: seen == ("table column header", "Results"), 0),
    ]


def generating_caption(w):
    """The progress bar's caption now, or else the last one heard that says a
    run is under way: on a loaded machine a run may end before a poll."""
    now = w.caption()
    if GENERATING.match(now):
        return now
    heard = [text for text in w.captions_heard if GENERATING.match(text)]
    return heard[-1] if heard else now


def during_the_run(w):
    return [
        ("progress text during a run", lambda: generating_caption(w), GENERATING.match, 20),
        ("progress text after the run", w.caption, lambda seen: seen == "Progress Bar", 60),
        # At least a count and the idle caption again.
        ("text changes of the progress bar", lambda: w.text_changes.count("progress bar"),
         lambda seen: seen >= 2, 2),
    ]


def after_the_run(w):
    return [
        ("a result row on screen is ticked",
         lambda: (w.first_row().getRoleName(), w.states(w.first_row())),
         lambda seen: seen[0] == "list item" and "checked" in seen[1], 0),
        ("row N of M, and the row the table gives at N", lambda: row_and_place(w),
         lambda seen: seen[2] > 1000 and seen[3] == seen[0], 0),
        ("a row off screen by its number: its text, no index", lambda: far_row(w),
         lambda seen: bool(seen[0]) and seen[1] == -1, 0),
        ("a position beyond the list names no row",
         lambda: w.results.queryTable().getRowColumnExtentsAtIndex(1 << 30)[1],
         lambda seen: seen == -1, 0),
    ]


def after_unticking(w):
    return [
        ("row unticked through its action", lambda: w.states(w.first_row()),
         lambda seen: "checked" not in seen, 5),
        ("the program still answers", lambda: w.results.childCount, lambda seen: seen > 1, 0),
    ]


def after_down(w):
    return [
        ("Down in the results list: the focus goes to the row it selects",
         lambda: focused_row(w), lambda seen: seen[:2] == ("list item", True) and [seen[2]] == seen[3],
         5),
    ]


def dump(w, title):
    print(f"--- {title}")
    nodes = [w.numbers, w.results]
    nodes[1:1] = [w.numbers.getChildAtIndex(i) for i in range(min(2, w.numbers.childCount))]
    nodes += [w.results.getChildAtIndex(i) for i in range(min(3, w.results.childCount))]
    nodes.append(w.progress)
    for node in nodes:
        extra = ""
        interfaces = node.get_interfaces()
        if "Text" in interfaces:
            extra += f" text={node.queryText().getText(0, -1)!r}"
        if "Value" in interfaces:
            extra += f" value={node.queryValue().currentValue}"
        if "Table" in interfaces:
            extra += f" rows={node.queryTable().nRows}"
        print(f"{node.getRoleName()} {node.name!r} [{','.join(interfaces)}] "
              f"{{{','.join(w.states(node))}}} children={node.childCount}{extra}")


def main():
    if os.environ.get(INSIDE) != "1":
        start_inside()
    program = sys.argv[1]
    import pyatspi
    from gi.repository import Gio, GLib

    # Start the accessibility bus first: the program only registers with a
    # bus that is running.
    try:
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress", None,
                          GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE, 10000, None)
        pyatspi.Registry.getDesktop(0).childCount
    except Exception as error:
        skip(f"the accessibility bus does not start (at-spi2-core): {error}")

    home = tempfile.mkdtemp()
    config = os.path.join(home, ".config")
    os.makedirs(config)
    os.mkdir(os.path.join(home, "run"), 0o700)
    # "Words and numbers", so that a long number gives a long run.
    with open(os.path.join(config, "Tarrowen.ini"), "w") as settings:
        settings.write("[Digitome]\nOption3=True\nOption4=False\n")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=config,
               XDG_DATA_HOME=os.path.join(home, "data"), XDG_CACHE_HOME=os.path.join(home, "cache"),
               XDG_RUNTIME_DIR=os.path.join(home, "run"), QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8")
    process = subprocess.Popen([program], env=env)
    failures = []
    pump = None

    def run(checks):
        for name, read, accept, timeout in checks:
            seen, accepted = poll(read, accept, timeout, pump)
            print(f"{'PASS' if accepted else 'FAIL'}: {name}: {seen!r}")
            if not accepted:
                failures.append(name)

    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app, _ = poll(
            lambda: next((a for a in desktop if a is not None and a.name == "Digitome"), None),
            lambda app: app is not None or process.poll() is not None, 30)
        if app is None:
            print("FAIL: the program does not appear on the accessibility bus")
            return 1
        w = Window(pyatspi, app)
        if "--dump" in sys.argv:
            dump(w, "before the run")
        run(before_the_run(w))

        # A run of a long number; each new caption is a text change.
        def heard(event):
            role = event.source.getRoleName()
            w.text_changes.append(role)
            if role == "progress bar":
                w.captions_heard.append(str(event.any_data))

        pyatspi.Registry.registerEventListener(heard, "object:text-changed:insert")
        context = GLib.MainContext.default()
        pump = lambda: context.iteration(False)
        w.press("Add Phone Number or Numbers")
        field, _ = poll(lambda: w.find("text"), bool, 10)
        field.queryEditableText().setTextContents(LONG_NUMBER)
        w.press("OK")
        poll(lambda: w.numbers.queryTable().nRows, lambda rows: rows == 1, 10)
        w.press("Start Converting")
        run(during_the_run(w))
        if "--dump" in sys.argv:
            dump(w, "after the run")
        run(after_the_run(w))
        pyatspi.Registry.registerEventListener(lambda event: w.focused.append(event.source),
                                               "focus:")
        try:
            w.first_row().queryAction().doAction(0)
        except NotImplementedError:
            pass  # no action: the row stays ticked and the check says so
        run(after_unticking(w))
        # Without a window manager the window is made active by hand.
        subprocess.run(["xdotool", "search", "--name", "^Digitome$", "windowfocus", "--sync"],
                       timeout=10)
        w.results.queryComponent().grabFocus()
        poll(lambda: w.states(w.results), lambda seen: "focused" in seen, 5)
        subprocess.run(["xdotool", "key", "Down"], timeout=10)
        run(after_down(w))
    finally:
        process.kill()
        process.wait()
        shutil.rmtree(home, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
