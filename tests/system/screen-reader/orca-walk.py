#!/usr/bin/python3
# Listens to Dilmora with the Orca screen reader, headless, as a blind learner
# drives it by keyboard: opens every window from the menu bar, turns pages,
# finds a word by typing it, closes each window, and checks what Orca spoke at
# every step.
#
#   /usr/bin/python3 tests/system/screen-reader/orca-walk.py build/test/dilmora [--transcript FILE]
#
# Everything runs in a private session that the script starts and ends by
# process id: Xvfb, a D-Bus session bus, the AT-SPI bus, openbox, Orca with its
# speech written to its debug log, and the program. Orca is guided like a user
# guides it: Tab until Orca names the button, Right until it names the menu
# item. Needs orca, speech-dispatcher(-espeak-ng), at-spi2-core, dbus-x11, xvfb,
# openbox, xdotool and libao-common (Debian); Debian's own /usr/bin/python3.
import argparse
import codecs
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# The main window's title, the product's name (packaging/identity.cmake),
# from the caller.
MAIN = os.environ["DILMORA_PRODUCT_NAME"]

class Typed(str):
    """Text typed into a window, as a learner types to find a row."""


# (window, what is done in it, words Orca must speak afterwards). A window is
# opened from its menu item; None stands for the opening itself, a button
# name for Tab to it and Space, "Main Page" closes with Return, "Alt+F4"
# with the title bar's close command, Typed text is typed. A page turn and a
# find must say their news (the first words) once: a find speaks for the last
# key typed, and says "No match" once however many keys find nothing.
WALK = [
    ("Irregular Verbs", None, ["Irregular Verbs dialog", "Page 1 of 4", "Main Page"]),
    ("Irregular Verbs", "Page 2", ["Page 2 of 4", "drink, içmek, drank, drunk"]),
    ("Irregular Verbs", "Page 4", ["Page 4 of 4"]),
    ("Irregular Verbs", "First Page", ["Page 1 of 4", "abide"]),
    ("Irregular Verbs", "Main Page", [MAIN]),
    ("Phrasal Verbs", None, ["Phrasal Verbs dialog", "Page 1 of 10"]),
    ("Phrasal Verbs", "LP", ["Page 10 of 10"]),
    ("Phrasal Verbs", Typed("look a"), ["Find text"]),
    ("Phrasal Verbs", Typed("f"), ["Page 6 of 10: look after, (bir kimseye) bakmak"]),
    ("Phrasal Verbs", Typed("xq"), ["No match"]),
    ("Phrasal Verbs", "Alt+F4", [MAIN]),
    ("Particles", None, ["Particles dialog", "Page 1 of 3"]),
    ("Particles", "Page 3", ["Page 3 of 3"]),
    ("Particles", "Main Page", [MAIN]),
    ("Numbers", None, ["Numbers dialog", "Main Page"]),
    ("Numbers", "Alt+F4", [MAIN]),
    ("About Programmer", None,
     ["About Programmer dialog", "Hello!", "E-mail:", "Web page:", "Thank you!"]),
    ("About Programmer", "Alt+F4", [MAIN]),
]

QUIET = 1.2      # seconds without anything new in Orca's log that end a step
PATIENCE = 10.0  # seconds a step waits at most for the words it expects


class Session:
    """The processes of one private desktop session, ended by their ids."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="dilmora-orca-")
        self.groups = []  # process groups started here
        self.pids = []    # daemons that left their group
        home = os.path.join(self.folder, "home")
        runtime = os.path.join(self.folder, "run")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime, LANG="C.UTF-8",
                        NO_AT_BRIDGE="0", GTK_MODULES="")
        for variable in ("DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "DISPLAY",
                         "QT_QPA_PLATFORM", "XDG_CONFIG_HOME", "XDG_DATA_HOME"):
            self.env.pop(variable, None)
        # No sound device: speech-dispatcher speaks into libao's null driver.
        config = os.path.join(home, ".config", "speech-dispatcher")
        shutil.copytree("/etc/speech-dispatcher", config)
        with open(os.path.join(config, "speechd.conf"), "a") as conf:
            conf.write('\nAudioOutputMethod "libao"\n')
        with open(os.path.join(home, ".libao"), "w") as libao:
            libao.write("default_driver=null\n")

    def start(self, command, env=None, **options):
        process = subprocess.Popen(command, env=env or self.env, start_new_session=True,
                                   **options)
        self.groups.append(process)
        return process

    def start_desktop(self):
        read, write = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24",
                    "-nolisten", "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            self.env["DISPLAY"] = ":" + display.readline().strip()
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], env=self.env, capture_output=True, text=True,
                             check=True).stdout.split()
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
        self.pids.append(int(bus[1]))
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   stderr=subprocess.DEVNULL)
        self.start(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1.0)

    def end(self):
        # speech-dispatcher was started by Orca and left for a session of its own.
        pid_file = os.path.join(self.env["XDG_RUNTIME_DIR"], "speech-dispatcher", "pid",
                                "speech-dispatcher.pid")
        if os.path.exists(pid_file):
            with open(pid_file) as pid:
                self.pids.append(int(pid.read().strip() or 0))
        for process in reversed(self.groups):
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        for pid in self.pids:
            if pid > 0:
                try:
                    os.kill(pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        if os.environ.get("ORCA_WALK_LOG"):
            shutil.copy(os.path.join(self.folder, "orca.log"), os.environ["ORCA_WALK_LOG"])
        shutil.rmtree(self.folder, ignore_errors=True)


# Orca from its own launcher, with a line-buffered debug log, without taking
# the name "orca" (whose launcher ends or refuses to run beside any other Orca
# of the same user on the machine).
ORCA_LAUNCHER = """
import builtins, importlib.machinery, sys
launcher = importlib.machinery.SourceFileLoader("orca_launcher", "/usr/bin/orca").load_module()
launcher.setProcessName = lambda name: None
launcher.otherOrcas = lambda: []
launcher.open = lambda file, mode="r": builtins.open(file, mode, buffering=1)
sys.argv = ["orca", "--debug-file=" + sys.argv[1]]
sys.exit(launcher.main())
"""

# One utterance in Orca's debug log; its text may run over several lines.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)' ?\[?\{'established'", re.DOTALL)


class Listener:
    """Reads what Orca has spoken since the last look."""

    def __init__(self, log):
        self.log = log
        self.offset = 0
        self.decoder = codecs.getincrementaldecoder("utf-8")(errors="replace")
        self.pending = ""

    def heard(self):
        """The utterances logged since the last call, and whether Orca logged anything."""
        if not os.path.exists(self.log):
            return [], False
        with open(self.log, "rb") as log:
            log.seek(self.offset)
            data = log.read()
        self.offset += len(data)
        self.pending += self.decoder.decode(data)
        spoken, consumed = [], 0
        for match in SPOKEN.finditer(self.pending):
            if match.group(1).strip():
                spoken.append(" ".join(match.group(1).split()))
            consumed = match.end()
        self.pending = self.pending[consumed:]
        unfinished = self.pending.rfind("SPEECH OUTPUT: '")
        self.pending = self.pending[unfinished:] if unfinished >= 0 else ""
        return spoken, bool(data)

    def wait_quiet(self, expected=()):
        """Everything Orca speaks until it has said all `expected` words (or
        given up waiting) and then been quiet for a while."""
        spoken, started, last = [], time.monotonic(), time.monotonic()
        while time.monotonic() - started < PATIENCE:
            words, active = self.heard()
            spoken += words
            if active:
                last = time.monotonic()
            elif time.monotonic() - last >= QUIET and (
                    all(word in " ".join(spoken) for word in expected)
                    or time.monotonic() - last >= 3 * QUIET):
                break
            time.sleep(0.1)
        return spoken


class Walk:
    def __init__(self, session, listener):
        self.session = session
        self.listener = listener
        self.transcript = []

    def key(self, key, expected=()):
        subprocess.run(["xdotool", "key", key], env=self.session.env, check=True)
        return self.listener.wait_quiet(expected)

    def type(self, text, expected=()):
        subprocess.run(["xdotool", "type", "--delay", "120", text], env=self.session.env,
                       check=True)
        return self.listener.wait_quiet(expected)

    def note(self, step, spoken):
        self.transcript.append((step, spoken))

    def key_until(self, key, wanted, tries):
        """Presses `key` until Orca speaks `wanted`; True when it did."""
        for _ in range(tries):
            spoken = self.key(key, [wanted])
            self.note(key, spoken)
            if any(wanted in s for s in spoken):
                return True
        return False

    def open(self, item):
        spoken = self.key("F10", ["Irregular Verbs"])
        self.note("F10", spoken)
        if not any(item in s for s in spoken) and not self.key_until("Right", item, 6):
            return False
        return True


def run(program, transcript_file):
    session = Session()
    failures = []
    walk = None
    try:
        session.start_desktop()
        log = os.path.join(session.folder, "orca.log")
        env = dict(session.env, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        session.start([program], env=env, stderr=subprocess.DEVNULL)
        time.sleep(1.5)
        session.start(["/usr/bin/python3", "-c", ORCA_LAUNCHER, log],
                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        listener = Listener(log)
        walk = Walk(session, listener)
        deadline = time.monotonic() + 20
        started = []
        while not started and time.monotonic() < deadline:
            started = listener.heard()[0]
            time.sleep(0.2)
        walk.note("Orca starts", started + listener.wait_quiet())
        # The main window has the focus at start: a click brings it to the front.
        subprocess.run(["xdotool", "search", "--name", MAIN, "windowactivate", "--sync"],
                       env=session.env, capture_output=True)
        current = skipped = None
        for window, action, words in WALK:
            if window == skipped:
                continue
            if window != current:
                current = window
                if not walk.open(window):
                    failures.append(f"{window}: the menu item was not reached")
                    walk.note("Escape", walk.key("Escape"))
                    skipped = window
                    continue
                spoken = walk.key("Return", words)
                step = f"Return on {window}"
            elif action in ("Alt+F4",):
                spoken = walk.key("alt+F4", words)
                step = f"Alt+F4 in {window}"
            elif isinstance(action, Typed):
                spoken = walk.type(action, words)
                step = f"Typing {action!r}"
            else:
                if not walk.key_until("Tab", f"{action} push button", 12):
                    failures.append(f"{window}: Tab never reached {action}")
                    walk.note("Alt+F4", walk.key("alt+F4"))
                    skipped = window
                    continue
                key = "Return" if action == "Main Page" else "space"
                spoken = walk.key(key, words)
                step = f"{key.capitalize()} on {action}"
            walk.note(step, spoken)
            heard = " ".join(spoken)
            for word in words:
                if word not in heard:
                    failures.append(f"{window}, {step}: Orca did not say {word!r}")
            # A page turn is said once: the page shown, with its first row.
            if action not in (None, "Main Page", "Alt+F4") and heard.count(words[0]) > 1:
                failures.append(f"{window}, {step}: Orca said {words[0]!r} {heard.count(words[0])} times")
        # After the last close, F10 opens the menu bar on its first item.
        if not failures:
            spoken = walk.key("F10", ["Irregular Verbs"])
            walk.note("F10", spoken)
            if not any("Irregular Verbs" in s for s in spoken):
                failures.append("F10 after the last close: Orca did not say 'Irregular Verbs'")
            walk.note("Escape", walk.key("Escape"))
    finally:
        session.end()
    lines = []
    for step, spoken in (walk.transcript if walk else []):
        lines.append(f"{step}: " + " | ".join(spoken))
    if transcript_file:
        with open(transcript_file, "w", encoding="utf-8") as out:
            out.write("\n".join(lines) + "\n")
    return lines, failures


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program")
    parser.add_argument("--transcript", help="write what Orca spoke, step by step, here")
    args = parser.parse_args()
    started = time.monotonic()
    lines, failures = run(os.path.abspath(args.program), args.transcript)
    for line in lines:
        print(line)
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    print(f"orca-walk: {len(WALK)} steps, {len(failures)} failures, "
          f"{time.monotonic() - started:.0f} s", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
