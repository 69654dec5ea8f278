#!/usr/bin/python3
"""The Qt window's automatic mode on a bench whose adapter stays, driven by the keys and the
mouse as an operator drives it. Three fresh devices take the fixture in turn, each of the
first two swapped for the next 1 s after its final reset: with no silence between them,
then with 3 s of empty port. Each time all three must be programmed, byte for byte, and
the third, which stays, never again. Then the window must answer at once while the mode
looks: the write button, clicked while the port is empty and while a device sits on it,
must end the mode within a moment, measured until the label reads the end.

    qt_window_automatic_test.py ZORVAN_FLASHER ZORVAN_SIM WORK_DIR SCREENSHOT_DIR"""

import os
import subprocess
import sys
import time

from gi.repository import GLib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qt_operator import Failed, QtWindow, SimulatedDevice, run, seconds_until, summary  # noqa: E402

flasher, sim_program, work, screenshots = sys.argv[1:5]
fixture = os.path.join(work, "fixture")  # the adapter's stable path, as /dev/serial/by-id gives one

# Far beyond the moment the window takes: a loaded machine must not fail the test.
ANSWER_LIMIT = 5


def bench(gap_ms):
    """Three fresh devices in turn on the fixture; the first two leave 1 s after their final
    reset, the port empty for `gap_ms` before the next; the third stays."""
    return SimulatedDevice(sim_program, fixture, work, "--baud", "0", "--verify", "-", "--count", "3", "--in-turn",
                           "--gap", str(gap_ms), "--device", "1", "--leave-after", "1000",
                           "--device", "2", "--leave-after", "1000")


class StatusLabel:
    """The status label and the write button, found once: while the mode runs the window
    answers the accessibility service only between the slices of its waits, so the
    window's whole tree is not read again."""

    def __init__(self, window):
        self.window = window
        self.node = window.expect("label", "Мікропрограма готова до запису", seconds=90).node
        self.write_button = window.expect("push button", "Прошити", enabled=True).centre()

    def text(self):
        try:
            return self.node.get_name() or ""
        except GLib.Error:
            return ""

    def wait_for(self, prefix, limit=60):
        seconds_until(f"the label to read {prefix!r} (it reads {self.text()!r})",
                      lambda: self.text().startswith(prefix), limit=limit)
        return self.text()

    def start_mode(self, prefix, limit=60):
        """Ctrl+Shift+A, and the label once it reads `prefix`."""
        self.window.press("ctrl+shift+a")
        return self.wait_for(prefix, limit)

    def end_by_click(self):
        """Clicks the write button; returns how long until the label read the end."""
        x, y = self.write_button
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        time.sleep(0.3)
        began = time.monotonic()
        subprocess.run(["xdotool", "click", "1"], check=True)
        self.wait_for("Вимкнено. ", limit=30)
        return time.monotonic() - began

    def answers(self, prefix, clicks):
        """The times from a click on the write button to the end, the mode started `clicks`
        times and found at `prefix`, each click at another moment of its looks."""
        times = []
        for i in range(clicks):
            self.start_mode(prefix)
            time.sleep(1 + 0.37 * i)
            times.append(self.end_by_click())
        print(f"   click to the end: {summary(times)} ({', '.join(f'{t:.2f}' for t in times)})")
        if max(times) > ANSWER_LIMIT:
            raise Failed(f"a click took {max(times):.1f} s to end the mode")


def test():
    os.makedirs(screenshots, exist_ok=True)
    devices = bench(0)
    window = QtWindow(flasher, [fixture], screenshots)
    try:
        status = StatusLabel(window)
        window.press("ctrl+shift+e")
        window.expect("push button", "Визначити", enabled=True)
        for gap_ms in (0, 3000):
            if gap_ms:
                devices = bench(gap_ms)
            print(f"== Ctrl+Shift+A: three devices swapped 1 s after each final reset, {gap_ms // 1000} s between")
            print("   " + status.start_mode("Готово, замініть. Прошито 3, збоїв 0, відмов 0", limit=300))
            window.photograph(f"qt-automatic-{gap_ms // 1000}s")
            # The third device stays: the looks at it must not program it again.
            time.sleep(8)
            if not status.text().startswith("Готово, замініть. Прошито 3, "):
                raise Failed(f"the device that stayed changed the label to {status.text()!r}")
            status.end_by_click()
            print(f"   {status.text()}")
            if gap_ms == 0:
                print("== the write button while the mode looks at a device already programmed")
                status.answers("Вже прошитий, замініть", 3)
            code, output = devices.stop()
            held = [line for line in output.splitlines() if "the flash holds the carried firmware" in line]
            if code != 0 or len(held) != 3:
                raise Failed(f"not every device holds the carried firmware: {output}")
            print(f"   {len(held)} devices hold the carried firmware, byte for byte")

        print("== the write button while the mode looks at an empty port")
        SimulatedDevice(sim_program, fixture, work, "--silent-after", "0")
        status.answers("Чекаю прилад", 5)
        window.photograph("qt-automatic-ended")
    finally:
        window.close()
        SimulatedDevice.kill_all()
    print("The Qt window passed: every device of the bench programmed once, and a click answered at once.")


run(test)
