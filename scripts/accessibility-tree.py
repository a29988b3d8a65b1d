"""What a screen reader finds in Dravix, through AT-SPI.

Started by scripts/accessibility-check.sh on a session bus of its own, under a virtual screen:
starts the program in the given folder, opens each of its windows and a message box from the
keyboard, prints each window's accessible tree and fails on a focusable control without a name.

Usage: accessibility-tree.py PROGRAM FOLDER
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TIMEOUT = 20.0
problems = []


class Stuck(Exception):
    """A step that the next ones need did not happen."""


def wait_for(what, find, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            found = find()
        except Exception:  # the tree changes while it is read
            found = None
        if found:
            return found
        time.sleep(0.2)
    raise Stuck(f"{what} did not appear within {timeout:.0f} s")


def children(node):
    try:
        return [child for child in node if child is not None]
    except Exception:
        return []


def walk(node, depth=0):
    yield node, depth
    for child in children(node):
        yield from walk(child, depth + 1)


def application(pid):
    for app in children(pyatspi.Registry.getDesktop(0)):
        try:
            if app.get_process_id() == pid:
                return app
        except Exception:
            pass
    return None


def window(app, title):
    for top in children(app):
        if top.name == title and top.getState().contains(pyatspi.STATE_SHOWING):
            return top
    return None


def focused(app):
    for node, _ in walk(app):
        if node.getState().contains(pyatspi.STATE_FOCUSED) and node.getRole() not in (
            pyatspi.ROLE_FRAME,
            pyatspi.ROLE_DIALOG,
            pyatspi.ROLE_ALERT,
            pyatspi.ROLE_WINDOW,
        ):
            return node
    return None


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def related(node, kind):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == kind:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def show(top, heading):
    """Prints the tree under one window; returns the number of focusable controls."""
    print(f"\n== {heading}")
    count = 0
    for node, depth in walk(top):
        state = node.getState()
        role = node.getRole()
        line = f"{'  ' * depth}{node.getRoleName()} {node.name!r}"
        if role in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT):
            if node.description:
                line += f" | description {node.description!r}"
        labels = related(node, pyatspi.RELATION_LABELLED_BY)
        if state.contains(pyatspi.STATE_FOCUSABLE):
            count += 1
            line = "* " + line[2:] if depth else "* " + line
            value = text_of(node) if role == pyatspi.ROLE_TEXT else None
            if value is not None:
                line += f" | text {value!r}"
            line += f" | description {node.description!r}"
            if labels:
                line += " | labelled by " + ", ".join(repr(label) for label in labels)
            if state.contains(pyatspi.STATE_INVALID_ENTRY):
                line += " | invalid entry"
            if not node.name:
                line += "   <-- NO NAME"
                problems.append(f"{heading}: a {node.getRoleName()} without a name")
            # A list box's name is its chosen entry here: its caption must be linked to it.
            if role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_COMBO_BOX) and not labels:
                line += "   <-- NO CAPTION"
                problems.append(f"{heading}: a {node.getRoleName()} that no caption labels")
        elif role == pyatspi.ROLE_LABEL:
            captioned = related(node, pyatspi.RELATION_LABEL_FOR)
            if captioned:
                line += " | label for " + ", ".join(repr(name) for name in captioned)
        if not state.contains(pyatspi.STATE_SHOWING):
            line += " | hidden"
        print(line)
    return count


def announced(kind, action, timeout=5.0):
    """Runs an action and returns the events of that kind that it raises."""
    events = []

    def heard(event):
        events.append(event)

    pyatspi.Registry.registerEventListener(heard, kind)
    try:
        action()
        context = GLib.MainContext.default()
        end = time.monotonic() + timeout
        while time.monotonic() < end and not events:
            while context.iteration(False):
                pass
            time.sleep(0.05)
        # The toolkit sends no value with a description's change: the source has it.
        return [(event.source.name, event.source.description) for event in events]
    finally:
        pyatspi.Registry.deregisterEventListener(heard, kind)


def check_announcement(what, events, starts):
    print(f"{what}: {events!r}")
    if not any(str(value).startswith(starts) for _, value in events):
        problems.append(f"{what}: no description beginning {starts!r} was announced")


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)
    time.sleep(0.3)


def tab_to(app, name, limit=40):
    """Moves the focus with Tab until the control of that name has it."""
    for _ in range(limit):
        node = focused(app)
        if node is not None and node.name == name:
            return node
        key("Tab")
    raise Stuck(f"Tab does not reach {name!r}")


def main():
    program, folder = sys.argv[1], sys.argv[2]
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    dravix = subprocess.Popen([program], cwd=folder, env=environment)
    try:
        app = wait_for("Dravix on the accessibility bus", lambda: application(dravix.pid))
        title = "Dravix - regulator-rt8.set"
        main_window = wait_for(f"the window {title!r}", lambda: window(app, title))
        start = wait_for("the focus in the main window", lambda: focused(app))
        focusable = show(main_window, f"main window {title!r}")
        print(f"\nthe focus starts on {start.getRoleName()} {start.name!r}")

        # The first entry, 0...850: a fourth digit takes its value beyond the range.
        kind = "object:property-change:accessible-description"
        key("End")
        check_announcement("typing 9", announced(kind, lambda: key("9")), "Wartość poza zakresem")
        check_announcement("backspace", announced(kind, lambda: key("BackSpace")), "w stopniach")

        tab_to(app, "KONFIGURACJA")
        key("Return")
        chooser = wait_for("the chooser", lambda: window(app, "Dravix - wybór pliku"))
        focusable += show(chooser, "description chooser")
        # From the keyboard alone: the arrow chooses the first file, Enter loads it.
        key("Down")
        files = focused(app)
        chosen = [item.name for item in children(files)
                  if item.getState().contains(pyatspi.STATE_SELECTED)]
        print(f"\nDown in the {files.getRoleName()} {files.name!r}: {chosen} chosen")
        key("Return")
        heading = "MODEL URZĄDZENIA: Sterownik pompy SP-4 „Wir”"

        def loaded():
            gone = window(app, "Dravix - wybór pliku") is None
            return gone and any(node.name == heading for node, _ in walk(main_window))

        wait_for(f"{chosen} loaded by Enter", loaded)
        print(f"Enter: the chooser closed, the main window shows {heading!r}")

        tab_to(app, "ODCZYT/ZAPIS SESJI")
        key("Return")
        values = wait_for("the value-file dialog", lambda: window(app, "Dravix - Zapis/odczyt"))
        focusable += show(values, "value-file dialog")
        key("Escape")

        tab_to(app, "ZAPIS DANYCH")
        key("Return")

        def message():
            for top in children(app):
                if top.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG) and top.getState(
                ).contains(pyatspi.STATE_SHOWING):
                    return top
            return None

        box = wait_for("the message box", message)
        focusable += show(box, "message box")
        key("Return")
        back = wait_for("the focus after OK", lambda: focused(app))
        print(f"\nafter OK the focus is on {back.getRoleName()} {back.name!r}")
        if back.name != "ZAPIS DANYCH":
            problems.append(f"after OK the focus is on {back.name!r}, not on 'ZAPIS DANYCH'")
    except Stuck as stuck:
        problems.append(f"stopped: {stuck}")
        focusable = 0
    finally:
        dravix.terminate()
        dravix.wait(timeout=10)

    if focusable:
        print(f"\n{focusable} focusable controls in four windows")
    for problem in problems:
        print(f"PROBLEM: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
