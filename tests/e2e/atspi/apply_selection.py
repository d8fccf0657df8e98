#!/usr/bin/python3
# Drives the real lanterna window through the desktop accessibility interface, finding every
# control by its role and accessible name alone: waits for the search to list the projectors,
# selects some of them, applies a settings file to them from the popup menu through the file
# dialog, answers each password prompt, reads the preview and the results, and closes.
#
#     apply_selection.py LANTERNA TEMPLATE PASSWORD NAME...
#
# Prints what it read, one tab-separated record a line, for the test to judge:
#     prompt  <the password box's name>
#     change  <projector> <setting> <now> <after>      (the preview's changes)
#     result  <projector> <outcome> <detail>
# Exits 0 once the results were read and the window closed, 1 with the window's accessible
# tree on the standard error when a step did not come in time. Every wait is a bounded poll.

import signal
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

STEP_LIMIT = 60.0  # seconds for any one step, the search and the links included
RUN_LIMIT = 150.0  # seconds for the whole flow
POLL = 0.1
MENU_KEY = 0xFF67  # the keyboard's menu key (X keysym)


class StepFailed(Exception):
    pass


RUN_DEADLINE = time.monotonic() + RUN_LIMIT


def wait_for(what, find):
    """Polls find() until it gives something other than None; StepFailed after the step's
    limit or at the end of the run's."""
    limit = min(STEP_LIMIT, RUN_DEADLINE - time.monotonic())
    deadline = time.monotonic() + limit
    while True:
        try:
            found = find()
        except gi.repository.GLib.Error:
            found = None  # an object that went away between two calls
        if found is not None:
            return found
        if time.monotonic() > deadline:
            raise StepFailed(f"waited {limit:.0f} s for {what} in vain")
        time.sleep(POLL)


def children(node):
    return [c for c in (node.get_child_at_index(i) for i in range(node.get_child_count())) if c]


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def find(node, role, name=None, depth=8):
    """The first showing descendant of `node` (itself included) with `role` and, when given,
    the accessible name `name`."""
    if node.get_role_name() == role and (name is None or node.get_name() == name) and showing(node):
        return node
    if depth == 0 or node.get_role_name() in ("list", "tree", "table", "menu item"):
        return None  # the cells of a view are read through its table, never searched
    for child in children(node):
        hit = find(child, role, name, depth - 1)
        if hit is not None:
            return hit
    return None


def window(app, name, holding_role, holding_name=None):
    """A top-level window of `app` called `name` that shows a control of `holding_role`."""
    for top in children(app):
        if top.get_name() == name and find(top, holding_role, holding_name) is not None:
            return top
    return None


def press(node):
    # A button's first action is its press.
    if node.get_n_actions() == 0 or not node.do_action(0):
        raise StepFailed(f"{node.get_role_name()} {node.get_name()!r} cannot be pressed")


def table_rows(view):
    return [[view.get_accessible_at(r, c).get_name() for c in range(view.get_n_columns())]
            for r in range(view.get_n_rows())]


def column_headers(view):
    return [view.get_column_header(c).get_name() for c in range(view.get_n_columns())]


def projector_rows(listing):
    """Row numbers of the list by projector name (a projector's label is name, line, address)."""
    rows = {}
    for number, row in enumerate(table_rows(listing)):
        if "\n" in row[0]:
            rows[row[0].split("\n")[0]] = number
    return rows


def dump(node, out, depth=0):
    try:
        print("  " * depth + f"[{node.get_role_name()}] {node.get_name()!r}", file=out)
        if node.get_role_name() not in ("list", "tree", "table"):
            for child in children(node):
                dump(child, out, depth + 1)
    except gi.repository.GLib.Error as error:
        print("  " * depth + f"(gone: {error})", file=out)


def emit(*fields):
    print("\t".join(f.replace("\n", " ") for f in fields), flush=True)


class Driver:
    def __init__(self, password):
        self.password = password
        self.app = None

    def find_app(self):
        desktop = Atspi.get_desktop(0)
        return next((a for a in children(desktop) if a.get_name() == "Lanterna"), None)

    def anywhere(self, role, name):
        """A showing control of `role` called `name` in any window of the program."""
        return next((hit for hit in (find(top, role, name) for top in children(self.app))
                     if hit is not None), None)

    def answer_prompt(self):
        """Answers a password prompt that is up; True when there was one."""
        prompt = window(self.app, "Enter password", "password text")
        if prompt is None:
            return False
        box = find(prompt, "password text")
        emit("prompt", box.get_name())
        box.set_text_contents(self.password)
        press(find(prompt, "push button", "OK"))
        wait_for("the password prompt to close", lambda: None if showing(prompt) else True)
        return True

    def until_window(self, what, name, role, role_name):
        """Waits for a window, answering the password prompts that come before it."""
        def step():
            if self.answer_prompt():
                return None
            return window(self.app, name, role, role_name)
        return wait_for(what, step)

    def run(self, template, names):
        self.app = wait_for("lanterna on the accessibility bus", self.find_app)
        main = wait_for("the main window",
                        lambda: window(self.app, "Lanterna", "list", "Projectors"))
        listing = find(main, "list", "Projectors")
        rows = wait_for("the search's projectors",
                        lambda: (lambda r: r if all(n in r for n in names) else None)(
                            projector_rows(listing)))

        for name in names:
            listing.add_row_selection(rows[name])
        wait_for("the selection",
                 lambda: True if listing.get_n_selected_rows() == len(names) else None)

        listing.grab_focus()
        Atspi.generate_keyboard_event(MENU_KEY, None, Atspi.KeySynthType.SYM)
        menu = wait_for("the popup menu", lambda: self.anywhere("popup menu",
                                                                 "Projector commands"))
        press(wait_for("its item", lambda: find(menu, "menu item", "Apply settings file…")))

        wait_for("the file dialog",
                 lambda: self.anywhere("text", "File name:")).set_text_contents(template)
        press(wait_for("the file dialog's Open", lambda: self.anywhere("push button", "Open")))

        preview = self.until_window("the preview", "Apply settings file", "table",
                                    "Settings that change")
        changes = find(preview, "table", "Settings that change")
        emit("change columns", *column_headers(changes))
        for row in table_rows(changes):
            emit("change", *row)
        press(find(preview, "push button", "Apply"))

        results = self.until_window("the results", "Results", "table", "Results table")
        outcomes = find(results, "table", "Results table")
        emit("result columns", *column_headers(outcomes))
        for row in table_rows(outcomes):
            emit("result", *row)
        press(find(results, "push button", "Close"))
        wait_for("the results to close", lambda: None if showing(results) else True)


def main():
    lanterna, template, password, names = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    program = subprocess.Popen([lanterna], stdout=sys.stderr, stderr=sys.stderr)
    driver = Driver(password)
    status = 0
    try:
        driver.run(template, names)
    except Exception as error:  # a step that failed, or the bindings' own errors
        print(f"apply_selection: {error!r}", file=sys.stderr)
        if driver.app is not None:
            dump(driver.app, sys.stderr)
        status = 1
    finally:
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(timeout=20)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
    return status


if __name__ == "__main__":
    sys.exit(main())
