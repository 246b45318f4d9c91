#!/usr/bin/python3
"""Measures the desktop program as a screen reader meets it, through the accessibility bus
(AT-SPI): per window the controls shown and enabled, the ones without a name, and how many of them
Tab (Ctrl+Tab out of a grid) reaches from the window's first focus.

Usage: tools/a11y-measure.sh [build folder]
         (with examples/school.BIN open, under a virtual display and a D-Bus session of its own)
       tools/a11y-measure.py PROGRAM [FILE.BIN]
         (inside a display with a window manager and a session bus; Debian's python3 has pyatspi)
Needs at-spi2-core, python3-pyatspi and xdotool.
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

# The windows, by the program's test hook ("" is the main window).
WINDOWS = [
    ("main window", ""),
    ("channels", "channels"),
    ("weekly list", "weekly"),
    ("steps", "weekly-steps"),
    ("program names", "weekly-names"),
    ("overview", "weekly-overview"),
    ("time-signal form", "confirm-time-signal"),
    ("annual", "annual"),
    ("annual confirmation", "annual-confirm"),
    ("summer time", "summer-time"),
    ("radio", "radio"),
    ("agenda", "agenda"),
    ("schedule check", "check"),
]

CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST, pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_DATE_EDITOR,
}


def tavrin_app(deadline):
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower().startswith("tavrin"):
                return app
        time.sleep(0.3)
    return None


def active_window(app):
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.getState().contains(pyatspi.STATE_ACTIVE):
            return window
    return None


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    # A table's cells are its own; the table is the control.
    if node.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
                          pyatspi.ROLE_LIST):
        return
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def path(node):
    steps = []
    while node is not None and node.getRole() != pyatspi.ROLE_APPLICATION:
        steps.append(node.getIndexInParent())
        node = node.parent
    return tuple(reversed(steps))


# Parts of a control, not controls.
PART_ROLES = {
    pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_SCROLL_BAR, pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_FRAME,
    pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW,
}


def controls(window):
    found = []
    for node in walk(window):
        state = node.getState()
        role = node.getRole()
        # A control of an unknown kind (a grid without accessibility) still takes the keyboard.
        if role not in CONTROL_ROLES and (role in PART_ROLES or
                                          not state.contains(pyatspi.STATE_FOCUSABLE)):
            continue
        if state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_ENABLED):
            found.append(node)
    return found


def control_of(node):
    """The control a focused object belongs to: a cell's table, an editor's table."""
    seen = node
    while seen is not None:
        if seen.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE):
            return seen
        seen = seen.parent
    return node


def focused(window):
    for node in walk(window):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return control_of(node)
    # The focus may be inside a table (a cell).
    for node in walk(window):
        if node.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE):
            for i in range(min(node.childCount, 2000)):
                child = node.getChildAtIndex(i)
                if child is not None and child.getState().contains(pyatspi.STATE_FOCUSED):
                    return node
    return None


def describe(node):
    return f"{node.getRoleName()} \"{node.name}\""


def measure(program, schedule, title, hook):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    if hook:
        env["TAVRIN_TEST_HOOK"] = hook
    else:
        env.pop("TAVRIN_TEST_HOOK", None)
    proc = subprocess.Popen([program] + ([schedule] if schedule else []), env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        app = tavrin_app(time.time() + 20)
        if app is None:
            print(f"{title}: the program did not appear on the accessibility bus")
            return
        time.sleep(2.5)
        window = active_window(app)
        if window is None:
            print(f"{title}: no active window")
            return
        shown = controls(window)
        unnamed = [c for c in shown if not c.name.strip()]
        keys = {path(c): c for c in shown}
        reached = set()
        first = focused(window)
        if first is not None:
            reached.add(path(first))
        for _ in range(2 * len(shown) + 4):
            # Ctrl+Tab leaves a grid whose cells take Tab; plain Tab everywhere else.
            now = focused(window)
            key = "ctrl+Tab" if now is not None and now.getRole() == pyatspi.ROLE_TABLE else "Tab"
            subprocess.run(["xdotool", "key", key], check=False)
            time.sleep(0.6)
            now = focused(window)
            if now is not None:
                reached.add(path(now))
        reach = [keys[p] for p in keys if p in reached]
        print(f"{title} ({window.name}): {len(shown)} controls, {len(unnamed)} unnamed, "
              f"{len(reach)}/{len(shown)} reached by Tab")
        for c in unnamed:
            print(f"  unnamed: {c.getRoleName()}")
        for p, c in keys.items():
            if p not in reached:
                print(f"  not reached: {describe(c)}")
    finally:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    schedule = os.path.abspath(sys.argv[2]) if len(sys.argv) == 3 else ""
    with tempfile.TemporaryDirectory() as scratch:
        os.environ.update(XDG_CONFIG_HOME=f"{scratch}/config", XDG_RUNTIME_DIR=f"{scratch}/run",
                          TAVRIN_DATA_DIR=f"{scratch}/data")
        os.makedirs(f"{scratch}/run", mode=0o700)
        for title, hook in WINDOWS:
            measure(program, schedule, title, hook)
    return 0


if __name__ == "__main__":
    sys.exit(main())
