#!/usr/bin/python3
"""The Qt window after the line fails, driven by the mouse and the keys as an operator
drives it. A simulated device behind an adapter's stable path hangs up in the middle of a
write: the error's box must tell the operator to check the line and press again, and once
it is closed the window must be usable again, with the label naming the error, the
controls enabled and the gauge at 0%. A fresh device at the same path is then programmed
by the next press, byte for byte, and the success box must come as soon as the device has
been reset, though the device takes the characters far faster than the line's rate says.
The same for detect in the engineering view.

    qt_window_port_error_test.py ZORVAN_FLASHER ZORVAN_SIM WORK_DIR SCREENSHOT_DIR"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qt_operator import Failed, QtWindow, SimulatedDevice, run, wait_for  # noqa: E402

flasher, sim_program, work, screenshots = sys.argv[1:5]
adapter = os.path.join(work, "adapter")  # the stable path, as /dev/serial/by-id gives one

WRITE_AGAIN = "Перевірте з'єднання з приладом і натисніть «Прошити» ще раз!"
DETECT_AGAIN = "Перевірте з'єднання з приладом і натисніть «Визначити» ще раз!"
PORT_ERRORS = ("Помилка читання з порта", "Помилка запису в порт.")


def plug_in(*options):
    """A simulated device at the adapter's path."""
    return SimulatedDevice(sim_program, adapter, work, *options)


def expect_error_box(window, again):
    text, ok = window.message_box(120)
    lines = text.split("\n")
    if lines[0] not in PORT_ERRORS or again not in lines:
        raise Failed(f"the port error's box reads: {text!r}")
    print(f"   the box: {' / '.join(lines)}")
    return ok


def expect_usable(window, status_head, button):
    status = window.label_beginning(status_head)
    print(f"   the label: {status}")
    window.expect("push button", button, enabled=True)
    boxes = [c for c in window.main_window() if c.role == "combo box"]
    if not boxes or not all(c.enabled for c in boxes):
        raise Failed(f"the port and rate boxes are not enabled: {boxes}")
    if not any(c.name == "0%" for c in window.main_window()):
        raise Failed(f"the gauge does not stand at 0%: {window.main_window()}")


def success_after_reset(window, device):
    """Waits for the success box; returns it with how long after the device's last reset
    it came."""
    last_reset_at = None
    deadline = time.monotonic() + 300
    while time.monotonic() < deadline:
        if last_reset_at is None and device.resets() >= 2:
            last_reset_at = time.monotonic()
        box = window.find_message_box()
        if box:
            if last_reset_at is None:
                # The reset may have come between the two looks at this poll.
                if device.resets() < 2:
                    raise Failed(f"a box before the device was reset: {box[0]!r}")
                return box, 0.0
            return box, time.monotonic() - last_reset_at
        time.sleep(0.02)
    raise Failed("no box within five minutes of the click")


def test():
    os.makedirs(screenshots, exist_ok=True)
    first = plug_in("--baud", "0", "--hangup-after", "60")
    window = QtWindow(flasher, [adapter], screenshots)
    try:
        window.expect("label", "Мікропрограма готова до запису", seconds=90)

        print("== Прошити; the device hangs up in the middle of the run")
        window.click(window.expect("push button", "Прошити", enabled=True))
        ok = expect_error_box(window, WRITE_AGAIN)
        window.photograph("qt-port-error-box")
        window.close_box(ok)
        expect_usable(window, "Запис не завершено. Помилка ", "Прошити")
        window.photograph("qt-after-port-error")
        wait_for("the hung-up device to go", 20, first.ended)

        print("== a fresh device at the same path; Прошити again")
        second = plug_in("--baud", "0", "--verify", "-", "--print-resets")
        window.click(window.expect("push button", "Прошити", enabled=True))
        (text, ok), delay = success_after_reset(window, second)
        if "Мікропрограма успішно завантажена в " not in text:
            raise Failed(f"the second run ended with: {text!r}")
        print(f"   the success box {delay:.2f} s after the device's reset")
        # Reckoned from the line rate, the result would come about 20 s after the reset.
        if delay > 3:
            raise Failed(f"the success box came {delay:.1f} s after the device's reset")
        window.photograph("qt-success-after-replug")
        window.close_box(ok)
        status, output = second.stop()
        if status != 0:
            raise Failed(f"the device's flash does not hold the carried firmware: {output}")
        print(f"   {output.splitlines()[-1]}")

        print("== Ctrl+Shift+E, Визначити; the device hangs up after identifying itself")
        window.press("ctrl+shift+e")
        third = plug_in("--baud", "0", "--hangup-after", "1")
        window.click(window.expect("push button", "Визначити", enabled=True))
        ok = expect_error_box(window, DETECT_AGAIN)
        window.close_box(ok)
        expect_usable(window, "Прилад не визначено. Помилка ", "Визначити")
        window.photograph("qt-detect-after-port-error")
        wait_for("the hung-up device to go", 20, third.ended)

        print("== a fresh device; Визначити again")
        fourth = plug_in("--baud", "0")
        window.click(window.expect("push button", "Визначити", enabled=True))
        text, ok = window.message_box(60)
        if not text.startswith("Визначино:"):
            raise Failed(f"the detect ended with: {text!r}")
        window.close_box(ok)
        text, ok = window.message_box(60)
        window.close_box(ok)
        window.label_beginning("Відкрийте мікропрограму з розширенням - HEX")
        print("   found, and the label asks for a HEX file")
        fourth.stop()
    finally:
        window.close()
        SimulatedDevice.kill_all()
    print("The Qt window passed: usable after each port error, and the device plugged back in was programmed.")


run(test)
