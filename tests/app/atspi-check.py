#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tarrowen
# SPDX-License-Identifier: MIT
"""What a screen reader gets of the real window, read through AT-SPI.

Starts the program under a private X server (xvfb-run) and a private session
bus (dbus-run-session) with the accessibility bus of at-spi2-core, converts a
long number in it and reads, as Orca would, the progress bar while the run
goes on, the list headers and the ticks of the result rows. Every check
polls with a timeout. Where the tools or the accessibility bus are missing
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
    for tool, package in (("xvfb-run", "xvfb"), ("dbus-run-session", "dbus")):
        if not shutil.which(tool):
            skip(f"{tool} is not installed ({package})")
    check = subprocess.run([sys.executable, "-c", "import pyatspi"], capture_output=True)
    if check.returncode != 0:
        skip(f"{sys.executable} cannot import pyatspi (python3-pyatspi)")
    env = dict(os.environ, **{INSIDE: "1"})
    command = ["xvfb-run", "-a", "dbus-run-session", "--", sys.executable] + sys.argv
    sys.exit(subprocess.run(command, env=env).returncode)


def poll(read, accept, timeout, pump=None):
    """Reads until accept(value) or the timeout; returns the last value read."""
    end = time.monotonic() + timeout
    value = None
    while True:
        try:
            value = read()
        except Exception as error:  # an object that went away while asked
            value = error
        if accept(value) or time.monotonic() > end:
            return value
        if pump:
            pump()
        time.sleep(0.01)


class Window:
    """The program's AT-SPI tree, found by roles and names."""

    def __init__(self, pyatspi, app):
        self.pyatspi = pyatspi
        self.app = app

    def find(self, role, name=None):
        match = lambda node: node is not None and node.getRoleName() == role and (
            name is None or node.name == name)
        return self.pyatspi.findDescendant(self.app, match)

    def press(self, name):
        self.find("push button", name).queryAction().doAction(0)


def states(node, pyatspi):
    return sorted(pyatspi.stateToString(s) for s in node.getState().getStates())


def dump(window, title):
    pyatspi = window.pyatspi
    print(f"--- {title}")
    nodes = [window.find("list", "Phone numbers"), window.find("list", "Results")]
    nodes[1:1] = [nodes[0].getChildAtIndex(i) for i in range(min(2, nodes[0].childCount))]
    nodes += [nodes[-1].getChildAtIndex(i) for i in range(min(3, nodes[-1].childCount))]
    nodes.append(window.find("progress bar"))
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
              f"{{{','.join(states(node, pyatspi))}}} children={node.childCount}{extra}")


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

    def check(name, seen, ok):
        print(f"{'PASS' if ok else 'FAIL'}: {name}: {seen!r}")
        if not ok:
            failures.append(name)

    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = poll(lambda: next((a for a in desktop if a is not None and a.name == "Digitome"),
                                None),
                   lambda found: found is not None or process.poll() is not None, 30)
        if app is None:
            print("FAIL: the program does not appear on the accessibility bus")
            return 1
        window = Window(pyatspi, app)
        numbers = poll(lambda: window.find("list", "Phone numbers"), bool, 10)
        results = window.find("list", "Results")
        progress = window.find("progress bar")
        if "--dump" in sys.argv:
            dump(window, "before the run")

        # What the window says before a run.
        check("progress bar interfaces", progress.get_interfaces(),
              {"Text", "Value"} <= set(progress.get_interfaces()))
        check("progress bar text", progress.queryText().getText(0, -1),
              progress.queryText().getText(0, -1) == "Progress Bar")
        for lst, caption in ((numbers, "Phone Number"), (results, "Results")):
            header = lst.getChildAtIndex(0)
            check(f"header of {lst.name}", (header.getRoleName(), header.name),
                  (header.getRoleName(), header.name) == ("table column header", caption))

        # A run: its caption counts while it goes on, and each new caption
        # is a text change.
        text_changes = []
        listener = lambda event: text_changes.append(event.source.getRoleName())
        pyatspi.Registry.registerEventListener(listener, "object:text-changed:insert")
        context = GLib.MainContext.default()
        pump = lambda: context.iteration(False)
        window.press("Add Phone Number or Numbers")
        field = poll(lambda: window.find("text"), bool, 10)
        field.queryEditableText().setTextContents(LONG_NUMBER)
        window.press("OK")
        poll(lambda: numbers.queryTable().nRows, lambda rows: rows == 1, 10)
        window.press("Start Converting")
        caption = poll(lambda: progress.queryText().getText(0, -1),
                       lambda text: isinstance(text, str) and bool(GENERATING.match(text)), 20,
                       pump)
        check("progress text during a run", caption,
              isinstance(caption, str) and bool(GENERATING.match(caption)))
        caption = poll(lambda: progress.queryText().getText(0, -1),
                       lambda text: text == "Progress Bar", 60, pump)
        check("progress text after the run", caption, caption == "Progress Bar")
        # At least the first count and the idle caption again.
        changes = poll(lambda: text_changes.count("progress bar"), lambda count: count >= 2, 2,
                       pump)
        check("text changes of the progress bar", changes, changes >= 2)
        pyatspi.Registry.deregisterEventListener(listener, "object:text-changed:insert")
        if "--dump" in sys.argv:
            dump(window, "after the run")

        # The result rows: ticked, where they stand, and the tick toggled.
        table = results.queryTable()
        rows = table.nRows
        row = results.getChildAtIndex(1)
        check("a result row on screen is ticked", (row.getRoleName(), states(row, pyatspi)),
              row.getRoleName() == "list item" and "checked" in states(row, pyatspi))
        position = table.getRowAtIndex(row.getIndexInParent())
        check("row N of M", (position + 1, rows, row.name),
              rows > 1000 and table.getAccessibleAt(position, 0).name == row.name)
        row.queryAction().doAction(0)
        unticked = poll(lambda: states(row, pyatspi), lambda seen: "checked" not in seen, 5)
        check("row unticked through its action", unticked, "checked" not in unticked)
        far = table.getAccessibleAt(rows // 2, 0)
        check("a row off screen by its position", (far.name, far.getIndexInParent()),
              bool(far.name) and far.getIndexInParent() == -1)
        beyond = table.getRowColumnExtentsAtIndex(rows + 10)
        check("a position beyond the list names no row", beyond[1], beyond[1] == -1)
        check("the program still answers", results.childCount, results.childCount > 1)
    finally:
        process.kill()
        process.wait()
        shutil.rmtree(home, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
