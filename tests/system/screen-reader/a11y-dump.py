#!/usr/bin/python3
# Prints what a screen reader sees of one of Dilmora's windows, through AT-SPI.
#
#   dbus-run-session -- xvfb-run -a /usr/bin/python3 tests/system/screen-reader/a11y-dump.py build/test/dilmora "Irregular Verbs" ["Page 3"]
#
# Starts the program with Qt's AT-SPI bridge on, chooses the menu item of that
# name as a screen reader would (its action, not a click), presses the named
# button of the window that opens if one is given, and prints the window's
# accessible tree: role, name and description of every object, and for a
# table its size, headers and first and last rows; after a text, the language
# of each of its runs.
# Needs at-spi2-core and python3-pyatspi (Debian); ends the program afterwards.
import os
import subprocess
import sys
import threading
import time

import pyatspi

CELLS_SHOWN = 2  # rows printed at each end of a table


def wait_for(find, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    sys.exit("timed out")


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == name:
            return app
    return None


def descendant(node, role, name):
    return pyatspi.findDescendant(
        node, lambda n: n.getRole() == role and n.name == name, breadth_first=True)


def press(action):
    try:
        action.doAction(0)
    except Exception:  # no reply while the window is open, or the program ended
        pass


def languages(node):
    """The language of each run of the object's text: "en", or "en tr en"."""
    try:
        text = node.queryText()
    except NotImplementedError:
        return ""
    runs, offset = [], 0
    while offset < text.characterCount:
        attributes, _, end = text.getAttributes(offset)
        runs.append(dict(pair.split(":", 1) for pair in attributes.split("; ") if ":" in pair)
                    .get("language", "?"))
        offset = max(end, offset + 1)
    return " ".join(runs)


def line(node, depth):
    text = f"{'  ' * depth}[{node.getRoleName()}] {node.name!r}"
    if node.description:
        text += f" — {node.description!r}"
    if languages(node):
        text += f" ({languages(node)})"
    return text


def dump_table(node, depth):
    table = node.queryTable()
    pad = "  " * (depth + 1)
    print(f"{pad}rows {table.nRows}, columns {table.nColumns}")
    for column in range(table.nColumns):
        header = table.getColumnHeader(column)
        if header is not None:
            print(f"{pad}column {column} header: {header.name!r} — {header.description!r}")
        else:
            print(f"{pad}column {column} header: none")
    rows = list(range(CELLS_SHOWN)) + ["..."] + list(range(table.nRows - CELLS_SHOWN, table.nRows))
    for row in rows:
        if row == "...":
            print(f"{pad}...")
            continue
        cells = [f"{cell.name} ({languages(cell)})" for cell in
                 (table.getAccessibleAt(row, column) for column in range(table.nColumns))]
        print(f"{pad}row {row}: {cells!r}")


def dump(node, depth=0):
    print(line(node, depth))
    if node.getRole() == pyatspi.ROLE_TABLE:
        dump_table(node, depth)
        return
    for child in node:
        if child is not None:
            dump(child, depth + 1)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(f"usage: {sys.argv[0]} <dilmora executable> <menu item> [<button>]")
    program, item = sys.argv[1], sys.argv[2]
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    process = subprocess.Popen([program], env=environment)
    try:
        app = wait_for(lambda: application(os.path.basename(program)))
        menu_item = wait_for(lambda: descendant(app, pyatspi.ROLE_MENU_ITEM, item))
        # The window opens modally: the action returns only when it closes.
        action = menu_item.queryAction()
        threading.Thread(target=lambda: press(action), daemon=True).start()
        window = wait_for(lambda: next(
            (w for w in application(os.path.basename(program)) if w is not None and w.name == item),
            None))
        if len(sys.argv) == 4:
            descendant(window, pyatspi.ROLE_PUSH_BUTTON, sys.argv[3]).queryAction().doAction(0)
            time.sleep(1.0)  # the press animates the button before it clicks
        dump(window)
    finally:
        process.terminate()
        process.wait()


if __name__ == "__main__":
    main()
