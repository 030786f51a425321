#!/usr/bin/python3
"""What a screen reader meets in the running shufflon, read over AT-SPI.

Checks the main window and the settings dialog: every control named, windows that are frames or
dialogs, no nameless filler anywhere, five radio buttons, the played rows checked; then plays the
last row from the keyboard alone (Tab to the list, End, Return) and checks that this song is opened,
shown and announced. Needs the program's accessibility bus (scripts/lib/e2e-a11y.sh) and its X
display; prints one line per check and exits non-zero on the first failure.

Usage: a11y-check.py OPENED_LOG   (the file names the program opens, one a line, as inotifywait
                                   writes them)
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

UNNAMED_ALLOWED = {"separator", "table cell", "table column header"}
FORBIDDEN_ROLES = {"filler", "unknown", "invalid"}


def fail(text):
    print("a11y: FAILED: " + text)
    sys.exit(1)


def wait_for(what, find, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # the tree changes under us while windows open and close
            found = None
        if found:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "shufflon":
            return app
    return None


def window(role, name):
    app = application()
    if app is None:
        return None
    for child in app:
        if child is not None and child.getRoleName() == role and child.name == name:
            return child
    return None


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        # A list's cells are its rows; their children are not controls.
        if child.getRoleName() not in ("table cell", "table column header"):
            yield from descendants(child)


def find(root, role, name=None, prefix=None):
    for node in descendants(root):
        if node.getRoleName() != role:
            continue
        if (name is None or node.name == name) and (prefix is None or node.name.startswith(prefix)):
            return node
    return None


def check_named(win, what):
    problems = []
    for node in descendants(win):
        role = node.getRoleName()
        if role in FORBIDDEN_ROLES:
            problems.append("a %s named %r" % (role, node.name))
        elif not node.name.strip() and role not in UNNAMED_ALLOWED:
            problems.append("an unnamed " + role)
    if problems:
        fail("%s: %s" % (what, "; ".join(problems)))
    print("a11y: %s: every control is named, no filler" % what)


def is_checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def first_cells(table):
    """The first cell of each row, in row order."""
    t = table.queryTable()
    return [t.getAccessibleAt(row, 0) for row in range(t.nRows)]


def press(win, name):
    button = find(win, "push button", name)
    if button is None:
        fail("no button %r" % name)
    button.queryAction().doAction(0)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def check_main_window(main):
    check_named(main, "main window")
    table = find(main, "tree") or find(main, "table")
    if table is None:
        fail("the song list is missing")
    played = find(main, "label", prefix="Played/unplayed:")
    count = int(played.name.split(":")[1].split("/")[0])
    checked = sum(1 for cell in first_cells(table) if is_checked(cell))
    if checked != count:
        fail("%d rows are checked, the window says %d songs were played" % (checked, count))
    slider = find(main, "slider")
    value = slider.queryValue()
    print("a11y: %d played rows checked; slider %r at %g of %g" %
          (checked, slider.name, value.currentValue, value.maximumValue))
    return table


def check_settings(main):
    press(main, "Config")
    settings = wait_for("the settings dialog", lambda: window("dialog", "SHF Settings"))
    check_named(settings, "settings dialog")
    radios = [node for node in descendants(settings) if node.getRoleName() == "radio button"]
    if len(radios) != 5:
        fail("the settings dialog has %d radio buttons, not 5" % len(radios))
    print("a11y: settings dialog: 5 radio buttons (%s)" % ", ".join(r.name for r in radios))
    press(settings, "Cancel")
    wait_for("the settings dialog to close", lambda: window("dialog", "SHF Settings") is None)


def play_last_row_by_keyboard(main, table, opened_log):
    cells = first_cells(table)
    last = cells[-1].name
    with open(opened_log) as log:
        opened_before = len(log.read().splitlines())
    windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Shufflon$"],
                             capture_output=True, text=True).stdout.split()
    xdotool("windowactivate", "--sync", windows[0])
    for _ in range(30):
        if table.getState().contains(pyatspi.STATE_FOCUSED):
            break
        xdotool("key", "Tab")
        time.sleep(0.3)
    else:
        fail("Tab never reached the song list")

    announced = []

    def heard(event):
        if event.source is not None and event.source.name.startswith("Song name: "):
            announced.append(event.source.name)

    def keys():
        xdotool("key", "End", "Return")
        return False

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
    GLib.timeout_add(500, keys)
    GLib.timeout_add(1000, lambda: (announced and pyatspi.Registry.stop()) or True)
    GLib.timeout_add(30000, lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(heard, "object:property-change:accessible-name")

    def opened_after():
        with open(opened_log) as log:
            lines = log.read().splitlines()
        return lines[opened_before:] or None

    first_opened = wait_for("a song to be opened", opened_after)[0]
    if first_opened != last:
        fail("Return on the last row (%s) opened %s" % (last, first_opened))
    if not is_checked(first_cells(table)[-1]):
        fail("the last row is not checked after it played")
    if "Song name: " + last not in announced:
        fail("the new song was not announced (heard %r)" % announced)
    print("a11y: Return on the last row played %s, announced as %r" % (last, announced[-1]))


def main():
    opened_log = sys.argv[1]
    main_window = wait_for("the main window", lambda: window("frame", "Shufflon"))
    table = check_main_window(main_window)
    check_settings(main_window)
    play_last_row_by_keyboard(main_window, table, opened_log)


if __name__ == "__main__":
    main()
