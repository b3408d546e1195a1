#!/usr/bin/env python3
# Walks dilmora.exe under Wine as a screen reader user does, with the stand-in
# UIAutomationCore.dll (uiautomationcore.c) recording what Qt's UI Automation
# provider gives: opens every window from the menu bar with the keyboard,
# turns pages, closes each window, asks each window for its UI Automation
# tree (uia-probe.exe), types a word to find, and checks every step against
# the table WALK.
#
#   uia-walk.py EXE PROBE RECORD [--transcript FILE]
#
# The record of every step goes to FILE, or to the standard output without
# one or when a step failed.
# EXE and PROBE are Windows paths, RECORD the host path of C:\uia-record.txt;
# WINEPREFIX and DISPLAY are the caller's (run.sh). Ends what it starts.
import argparse
import os
import subprocess
import sys
import time

# The main window's title, the product's name (packaging/identity.cmake),
# from the caller.
MAIN = os.environ["DILMORA_PRODUCT_NAME"]
# The windows that the menu bar opens, in its order (tests/system/lib/menu.txt).
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "lib", "menu.txt"),
          encoding="utf-8") as _menu:
    MENU = [line.strip() for line in _menu if line.strip() and not line.startswith("#")]

# The control types of every window's objects, all of them types that Windows
# screen readers know: a top-level window is a Window whatever its role, the
# client area a Group, a picture an Image, a label Text, a cell DataItem, a
# column header Header.
MAIN_TYPES = {"Window", "MenuBar", "MenuItem", "Group", "Image"}
GRID_TYPES = {"Window", "Group", "Table", "Header", "DataItem", "Button"}

# (step, action, expected). Actions: ("walk", title) asks the window for its
# UI Automation tree; ("open", title) runs the menu bar's item of that title
# (F10, Right once per item before it, Return; MENU); ("press", title, button) tabs in the window to the
# button, found by the focus events recorded, and presses Space; ("type",
# title, text) types the text into the window, a key a character; ("key",
# title, key) presses the key; ("close", title, button or key) presses Return
# on the button, or the key.
# Expected: for a walk, the set of control types its tree holds and (control
# type, name) pairs it must hold, and no Custom control; for the others, the
# events that must be recorded, each (kind, what, control type, name[, text]).
# The notifications recorded in a step must be exactly those expected; typing
# finds with every key, and each find is told once: a step that types must
# record a notification for each key, and the last must be the one expected.
WALK = [
    ("the main window", ("walk", MAIN),
     {"types": MAIN_TYPES, "holds": [("MenuItem", "Irregular Verbs"), ("MenuItem", "About Programmer")]}),
    ("open Irregular Verbs", ("open", "Irregular Verbs"),
     [("event", "AutomationFocusChanged", "Button", "Main Page")]),
    ("Irregular Verbs", ("walk", "Irregular Verbs"),
     {"types": GRID_TYPES, "holds": [("Header", " Turkish"), ("DataItem", " abide"), ("Button", "Page 2")]}),
    ("turn to Page 2", ("press", "Irregular Verbs", "Page 2"),
     [("notification", "Other/ImportantMostRecent", "Button", "Page 2",
       "Page 2 of 4: drink, içmek, drank, drunk")]),
    ("turn to Page 4", ("press", "Irregular Verbs", "Page 4"),
     [("notification", "Other/ImportantMostRecent", "Button", "Page 4",
       "Page 4 of 4: speak, konuşmak, spoke, spoken")]),
    ("turn to the first page", ("press", "Irregular Verbs", "First Page"),
     [("notification", "Other/ImportantMostRecent", "Button", "First Page",
       "Page 1 of 4: abide, ikâmet etmek, abode, abode")]),
    # A key opens the find field, an Edit named "Find", which takes the focus;
    # the row found is told where the focus is, and Return gives it back.
    ("find icmek", ("type", "Irregular Verbs", "icmek"),
     [("event", "AutomationFocusChanged", "Edit", "Find"),
      ("notification", "Other/ImportantMostRecent", "Edit", "Find",
       "Page 2 of 4: drink, içmek, drank, drunk")]),
    ("close the find field with Return", ("key", "Irregular Verbs", "Return"),
     [("event", "AutomationFocusChanged", "Button", "First Page")]),
    ("close Irregular Verbs with Main Page", ("close", "Irregular Verbs", "Main Page"),
     [("event", "AutomationFocusChanged", "Window", MAIN)]),
    ("open Phrasal Verbs", ("open", "Phrasal Verbs"),
     [("event", "AutomationFocusChanged", "Button", "Main Page")]),
    ("Phrasal Verbs", ("walk", "Phrasal Verbs"), {"types": GRID_TYPES, "holds": [("Button", "LP")]}),
    ("turn to the last page", ("press", "Phrasal Verbs", "LP"),
     [("notification", "Other/ImportantMostRecent", "Button", "LP",
       "Page 10 of 10: over to, vermek, bırakmak, teslim etmek")]),
    ("close Phrasal Verbs with Alt+F4", ("close", "Phrasal Verbs", "alt+F4"),
     [("event", "AutomationFocusChanged", "Window", MAIN)]),
    ("open Particles", ("open", "Particles"), [("event", "AutomationFocusChanged", "Button", "Main Page")]),
    ("Particles", ("walk", "Particles"), {"types": GRID_TYPES, "holds": []}),
    ("turn to Page 3", ("press", "Particles", "Page 3"),
     [("notification", "Other/ImportantMostRecent", "Button", "Page 3", "Page 3 of 3: till, -e kadar")]),
    ("close Particles with Main Page", ("close", "Particles", "Main Page"),
     [("event", "AutomationFocusChanged", "Window", MAIN)]),
    ("open Numbers", ("open", "Numbers"), [("event", "AutomationFocusChanged", "Button", "Main Page")]),
    ("Numbers", ("walk", "Numbers"),
     {"types": GRID_TYPES, "holds": [("Header", " Normal Numbers"), ("Header", "")]}),
    ("close Numbers with Alt+F4", ("close", "Numbers", "alt+F4"),
     [("event", "AutomationFocusChanged", "Window", MAIN)]),
    ("open About Programmer", ("open", "About Programmer"), []),
    ("About Programmer", ("walk", "About Programmer"),
     {"types": {"Window", "Group", "Image", "Text", "Button"},
      "holds": [("Text", "Thank you!"), ("Button", "  Exit")]}),
    ("close About Programmer with Alt+F4", ("close", "About Programmer", "alt+F4"),
     [("event", "AutomationFocusChanged", "Window", MAIN)]),
]

QUIET = 1.0      # seconds without a new record line that end a step
PATIENCE = 15.0  # seconds a step waits at most


def unescape(field):
    out, i = [], 0
    while i < len(field):
        if field[i] == "\\" and i + 1 < len(field):
            out.append({"t": "\t", "n": "\n", "r": "\r"}.get(field[i + 1], field[i + 1]))
            i += 2
        else:
            out.append(field[i])
            i += 1
    return "".join(out)


class Record:
    """The lines of C:\\uia-record.txt since the last look."""

    def __init__(self, path):
        self.path = path
        self.offset = 0

    def read(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path, "rb") as record:
            record.seek(self.offset)
            data = record.read()
        end = data.rfind(b"\n") + 1
        self.offset += end
        return [[unescape(f) for f in line.split("\t")]
                for line in data[:end].decode("utf-8", "replace").splitlines()]

    def until_quiet(self, done=lambda lines: True):
        lines, started, last = [], time.monotonic(), time.monotonic()
        while time.monotonic() - started < PATIENCE:
            new = self.read()
            if new:
                lines += new
                last = time.monotonic()
            elif time.monotonic() - last >= QUIET and done(lines):
                break
            time.sleep(0.1)
        return lines


def event_of(line):
    """An event line as the table writes it."""
    if line[0] == "event":
        return ("event", line[1], line[2], line[3])
    if line[0] == "notification":
        return ("notification", f"{line[1]}/{line[2]}", line[3], line[4], line[5])
    if line[0] == "property":
        return ("property", line[1], line[2], line[3], line[5])
    return None


def show(event):
    return " ".join(repr(part) if i >= 3 else part for i, part in enumerate(event))


class Walker:
    def __init__(self, exe, probe, record):
        self.exe, self.probe, self.record = exe, probe, Record(record)
        self.program = None
        self.current = None  # the name of the element that last got the focus

    def x(self, *arguments):
        return subprocess.run(["xdotool", *arguments], capture_output=True, text=True).stdout.strip()

    def window(self, title, timeout=60):
        found = subprocess.run(["timeout", str(timeout), "xdotool", "search", "--sync", "--onlyvisible",
                                "--name", f"^{title}$"], capture_output=True, text=True).stdout.split()
        return found[0] if found else None

    def gone(self, title):
        for _ in range(100):
            if not self.x("search", "--onlyvisible", "--name", f"^{title}$"):
                return True
            time.sleep(0.1)
        return False

    def focus(self, title):
        """Focuses the window until X reports the focus on it twice in a row."""
        window = self.window(title)
        held = 0
        for _ in range(50):
            if window and self.x("getwindowfocus") == window:
                held += 1
                if held >= 2:
                    return True
            else:
                held = 0
                if window:
                    self.x("windowfocus", "--sync", window)
            time.sleep(0.2)
        return False

    def key(self, *keys):
        self.x("key", "--delay", "100", *keys)

    def focused(self, lines):
        names = [line[3] for line in lines if line[:2] == ["event", "AutomationFocusChanged"]]
        return names[-1] if names else None

    def start(self):
        env = dict(os.environ)
        env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "") + ";uiautomationcore=n"
        self.program = subprocess.Popen(["wine", self.exe], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        # The first program in a new prefix may wait for Wine to settle.
        return self.window(MAIN, timeout=180) is not None

    def do(self, action):
        """Runs an action; returns the record lines it caused and a failure or None."""
        kind = action[0]
        if kind == "walk":
            status = subprocess.run(["wine", self.probe, action[1]], stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL).returncode
            lines = self.record.until_quiet()
            return lines, None if status == 0 else f"the window did not answer WM_GETOBJECT ({status})"
        if kind == "open":
            if not self.focus(MAIN):
                return [], "the main window did not take the focus"
            self.key("F10", *["Right"] * MENU.index(action[1]), "Return")
            if not self.window(action[1]):
                return self.record.until_quiet(), f"{action[1]} did not open"
            return self.record.until_quiet(), None
        if kind in ("type", "key"):
            if not self.focus(action[1]):
                return [], f"{action[1]} did not take the focus"
            if kind == "key":
                self.key(action[2])
                return self.record.until_quiet(), None
            self.x("type", "--delay", "150", action[2])
            return self.record.until_quiet(
                lambda new: sum(line[0] == "notification" for line in new) >= len(action[2])), None
        if kind in ("press", "close"):
            title, target = action[1], action[2]
            if not self.focus(title):
                return [], f"{title} did not take the focus"
            lines = []
            if target != "alt+F4":
                for _ in range(14):
                    if self.current == target:
                        break
                    self.key("Tab")
                    lines += self.record.until_quiet(lambda new: self.focused(new) is not None)
                    self.current = self.focused(lines) or self.current
                else:
                    return lines, f"Tab never reached {target!r}"
            if kind == "press":
                self.key("space")
                # the page is told once the click's handler has run
                return lines + self.record.until_quiet(
                    lambda new: any(line[0] == "notification" for line in new)), None
            self.key("Return" if target != "alt+F4" else "alt+F4")
            closed = self.gone(title)
            lines += self.record.until_quiet()
            return lines, None if closed else f"{title} did not close"
        raise ValueError(kind)

    def end(self):
        if self.program and self.program.poll() is None:
            self.program.terminate()
            try:
                self.program.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.program.kill()
                self.program.wait()


def check_walk(lines, expected):
    failures = []
    tree = [(line[2], line[3]) for line in lines if line[0] == "tree"]
    if not tree:
        return ["no tree was recorded"]
    types = {kind for kind, _ in tree}
    if "Custom" in types:
        failures.append("Custom controls: " + ", ".join(repr(n) for k, n in tree if k == "Custom"))
    if types != expected["types"]:
        failures.append(f"control types {sorted(types)}, expected {sorted(expected['types'])}")
    for pair in expected["holds"]:
        if pair not in tree:
            failures.append(f"no {pair[0]} named {pair[1]!r}")
    return failures


def check_events(lines, expected):
    events = [event for event in map(event_of, lines) if event]
    failures = [f"no {show(e)}" for e in expected if e not in events]
    wanted = [e for e in expected if e[0] == "notification"]
    heard = [e for e in events if e[0] == "notification"]
    if heard != wanted:
        failures.append(f"notifications {[show(e) for e in heard]}, expected {[show(e) for e in wanted]}")
    return failures


def check_find(lines, expected, typed):
    """A notification for each key typed, and what the last one says as expected."""
    heard = [line for line in lines if line[0] == "notification"]
    failures = [] if len(heard) == len(typed) else [f"{len(heard)} notifications for {len(typed)} keys"]
    return failures + check_events([line for line in lines if line[0] != "notification"] + heard[-1:], expected)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("probe")
    parser.add_argument("record")
    parser.add_argument("--transcript")
    args = parser.parse_args()
    walker = Walker(args.exe, args.probe, args.record)
    failures, transcript = [], []
    try:
        if not walker.start():
            failures.append("the main window did not open")
        for step, action, expected in ([] if failures else WALK):
            lines, failure = walker.do(action)
            walker.current = walker.focused(lines) or walker.current
            found = [failure] if failure else []
            if action[0] == "walk":
                found += check_walk(lines, expected)
            elif action[0] == "type":
                found += check_find(lines, expected, action[2])
            else:
                found += check_events(lines, expected)
            transcript.append(f"== {step}")
            transcript += ["   " + "\t".join(f.replace("\n", "\\n") for f in line) for line in lines]
            failures += [f"{step}: {f}" for f in found]
            if failure:
                break
    finally:
        walker.end()
    text = "\n".join(transcript) + "\n"
    if args.transcript:
        with open(args.transcript, "w", encoding="utf-8") as out:
            out.write(text)
    if failures or not args.transcript:
        sys.stdout.write(text)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    print(f"uia-walk: {len(WALK)} steps, {len(failures)} failures"
          + (f"; the record is in {args.transcript}" if args.transcript else ""), file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
