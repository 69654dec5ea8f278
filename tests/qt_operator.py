"""The Qt window as an operator meets it, for tests on a virtual X server: the window is
seen the way a screen reader sees it (the desktop's accessibility service, AT-SPI, to
which Qt offers every control's role, text, state and place when
QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set), and it is worked with the mouse and the keys
through the X server (xdotool). Nothing in the program serves the tests.

Runs under Debian's Python (gir1.2-atspi-2.0) in a D-Bus session of its own
(dbus-run-session) on the display in $DISPLAY."""

import os
import signal
import statistics
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

class Failed(Exception):
    """What the test saw instead of what it expected."""


def wait_for(what, seconds, check, interval=0.1):
    """Calls `check` until it returns something true, at most `seconds`; returns that."""
    deadline = time.monotonic() + seconds
    while True:
        seen = check()
        if seen:
            return seen
        if time.monotonic() >= deadline:
            raise Failed(f"within {seconds:.0f} s: {what}")
        time.sleep(interval)


class Control:
    """One accessible object as it was read: its role, its text, whether it is enabled,
    and its place on the screen."""

    def __init__(self, node):
        self.node = node
        self.role = node.get_role_name()
        self.name = node.get_name() or ""
        self.enabled = node.get_state_set().contains(Atspi.StateType.ENABLED)
        rect = node.get_extents(Atspi.CoordType.SCREEN)
        self.x, self.y, self.width, self.height = rect.x, rect.y, rect.width, rect.height

    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def __repr__(self):
        return f"{self.role} '{self.name}'{'' if self.enabled else ' (disabled)'}"


def is_main_window(window):
    return any(c.role == "push button" and c.name == "Прошити" for c in window)


def _tree(node, depth=0):
    if node is None or depth > 14:
        return
    try:
        yield Control(node)
        for i in range(node.get_child_count()):
            yield from _tree(node.get_child_at_index(i), depth + 1)
    except GLib.Error:
        return  # a control that went away while it was read


class QtWindow:
    """The program `program` started with `args`, its windows read through AT-SPI."""

    def __init__(self, program, args, screenshots=None):
        environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.process = subprocess.Popen([program, *args], env=environment)
        self.screenshots = screenshots

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(30)

    def windows(self):
        """The program's top-level windows, each as the list of its controls."""
        if self.process.poll() is not None:
            raise Failed(f"the program ended with status {self.process.returncode}")
        try:
            desktop = Atspi.get_desktop(0)
            apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
        except GLib.Error:
            return []  # the accessibility service is still starting
        for app in apps:
            try:
                if app is None or app.get_process_id() != self.process.pid:
                    continue
                return [list(_tree(app.get_child_at_index(j))) for j in range(app.get_child_count())]
            except GLib.Error:
                continue
        return []

    def main_window(self):
        """The controls of the main window: the window that holds the write button."""
        for window in self.windows():
            if is_main_window(window):
                return window
        return []

    def control(self, role, name=None, prefix=None):
        """The main window's control of `role` whose text is `name` (or begins with
        `prefix`), or None."""
        for c in self.main_window():
            if c.role == role and (name is None or c.name == name) and (prefix is None or c.name.startswith(prefix)):
                return c
        return None

    def expect(self, role, name=None, prefix=None, enabled=None, seconds=30):
        """Waits until the main window shows such a control (enabled or not, if told)."""
        def seen():
            c = self.control(role, name, prefix)
            return c if c and (enabled is None or c.enabled == enabled) else None
        state = "" if enabled is None else (" enabled" if enabled else " disabled")
        try:
            return wait_for(f"a {role} '{name or prefix}'{state}", seconds, seen)
        except Failed as e:
            raise Failed(f"{e}; the window shows: {self.main_window()}") from None

    def label_beginning(self, prefix, seconds=30):
        return self.expect("label", prefix=prefix, seconds=seconds).name

    def find_message_box(self):
        """The message box on the screen as (its text, its OK button), or None."""
        for window in self.windows():
            if is_main_window(window):
                continue
            texts = [c.name for c in window if c.role == "label" and c.name]
            ok = [c for c in window if c.role == "push button" and c.name == "OK"]
            if texts and ok:
                return "\n".join(texts), ok[0]
        return None

    def message_box(self, seconds):
        """Waits for a message box and returns (its text, its OK button)."""
        return wait_for("a message box", seconds, self.find_message_box, interval=0.05)

    def close_box(self, ok):
        """Clicks the box's OK and waits until that box has gone (another may follow)."""
        text = self.find_message_box()[0]
        self.click(ok)
        wait_for("the message box to close", 20,
                 lambda: (self.find_message_box() or (None,))[0] != text)

    def click(self, control):
        x, y = control.centre()
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "click", "1"], check=True)

    def press(self, keys):
        """Keys pressed while the main window has the keyboard."""
        ids = subprocess.run(["xdotool", "search", "--pid", str(self.process.pid), "--name", "^Zorvan Bootloader"],
                             capture_output=True, text=True).stdout.split()
        if not ids:
            raise Failed("the main window is not on the screen")
        subprocess.run(["xdotool", "windowfocus", "--sync", ids[0]], check=False)
        time.sleep(0.3)
        subprocess.run(["xdotool", "key", "--clearmodifiers", keys], check=True)

    def photograph(self, name):
        """The whole screen as PNG, from Xvfb's frame buffer, into the screenshot folder;
        returns the screen as it was photographed."""
        subprocess.run(["xdotool", "mousemove", "0", "0"], check=False)
        time.sleep(0.5)
        screen = Screen()
        if self.screenshots:
            path = os.path.join(self.screenshots, name + ".png")
            with open(path, "wb") as png:
                subprocess.run(["pnmtopng"], input=screen.ppm, stdout=png, check=True)
            print(f"   {path}")
        return screen


class Screen:
    """The whole screen as it is now, from Xvfb's frame buffer: what the operator sees."""

    def __init__(self):
        frame = os.path.join(os.environ["ZORVAN_XVFB_FRAMEBUFFER"], "Xvfb_screen0")
        self.ppm = subprocess.run(["xwdtopnm", frame], capture_output=True, check=True).stdout
        # A binary PPM: "P6", width, height and the largest value, then three bytes a pixel.
        fields, end = [], 0
        while len(fields) < 4:
            while self.ppm[end:end + 1].isspace():
                end += 1
            start = end
            while not self.ppm[end:end + 1].isspace():
                end += 1
            fields.append(self.ppm[start:end])
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = end + 1

    def colour(self, x, y):
        """The pixel at (x, y) as (red, green, blue)."""
        at = self.pixels + 3 * (y * self.width + x)
        return tuple(self.ppm[at:at + 3])


class SimulatedDevice:
    """zorvan-sim serving devices at the adapter's stable path `link`, its output in files
    of the folder `work`."""

    started = []

    def __init__(self, sim_program, link, work, *options):
        SimulatedDevice.started.append(self)
        self.output = os.path.join(work, f"device{len(SimulatedDevice.started)}.out")
        with open(self.output, "w") as out, open(self.output + ".err", "w") as err:
            self.process = subprocess.Popen([sim_program, "--link", link, *options], stdout=out, stderr=err)
        wait_for("the simulated device to start", 20, lambda: self.lines())

    def lines(self):
        with open(self.output) as out:
            return out.read().splitlines()

    def resets(self):
        return sum(1 for line in self.lines() if line == "reset")

    def ended(self):
        return self.process.poll() is not None

    def stop(self):
        """Stops the device; its exit status says whether its flash holds what --verify named."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        status = self.process.wait(60)
        return status, "\n".join(self.lines())

    @classmethod
    def kill_all(cls):
        """Ends every device still serving: a failed test leaves none behind."""
        for device in cls.started:
            if device.process.poll() is None:
                device.process.kill()


def seconds_until(what, check, limit=30, interval=0.01):
    """How long from now until `check` returns something true (at most `limit`)."""
    began = time.monotonic()
    wait_for(what, limit, check, interval)
    return time.monotonic() - began


def summary(times):
    """'median 0.12 s, longest 0.20 s' of a list of seconds."""
    return f"median {statistics.median(times):.2f} s, longest {max(times):.2f} s"


def run(test):
    """Runs `test()`, printing what failed; the exit status says how it went."""
    try:
        test()
    except Failed as e:
        print(f"FAILED: {e}")
        sys.exit(1)
