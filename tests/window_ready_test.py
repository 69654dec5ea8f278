#!/usr/bin/python3
"""Starts the window and waits until it is ready to write, as the desktop's accessibility
service (AT-SPI, through which screen readers read every window) shows it: a main window
with the final title, the status label reading the ready text, and the write button
enabled. Nothing in the program serves the test: Qt offers each window's controls to
AT-SPI, their texts included, when QT_LINUX_ACCESSIBILITY_ALWAYS_ON is set.

    window_ready_test.py PROGRAM TITLE LABEL BUTTON [SECONDS]

Run by Debian's Python (gir1.2-atspi-2.0), inside a D-Bus session of its own on an X
display (dbus-run-session, Xvfb). Exits 0 when the window is seen ready, 1 when not,
with what was seen."""

import os
import signal
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

program, title, label, button = sys.argv[1:5]
seconds = float(sys.argv[5]) if len(sys.argv) > 5 else 90


def controls(node, depth=0):
    """(role, name, enabled) of the node and everything below it."""
    if node is None or depth > 12:
        return
    try:
        enabled = node.get_state_set().contains(Atspi.StateType.ENABLED)
        yield node.get_role_name(), node.get_name(), enabled
        for i in range(node.get_child_count()):
            yield from controls(node.get_child_at_index(i), depth + 1)
    except gi.repository.GLib.Error:
        return  # a control that went away while it was read


def windows_of(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return [app.get_child_at_index(j) for j in range(app.get_child_count())]
        except gi.repository.GLib.Error:
            continue
    return []


environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
window = subprocess.Popen([program], env=environment)
seen = []
try:
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if window.poll() is not None:
            print(f"FAILED: {program} ended with status {window.returncode} before it was ready")
            sys.exit(1)
        for top_level in windows_of(window.pid):
            seen = list(controls(top_level))
            if (
                seen
                and seen[0][1] == title
                and ("label", label, True) in seen
                and ("push button", button, True) in seen
            ):
                print(f"Ready: the window '{title}' shows '{label}', with '{button}' enabled")
                sys.exit(0)
        time.sleep(0.25)
    print(f"FAILED: within {seconds:.0f} s the window was not seen ready. Last seen:")
    for role, name, enabled in seen:
        print(f"  {role}: '{name}'{'' if enabled else ' (disabled)'}")
    sys.exit(1)
finally:
    if window.poll() is None:
        window.send_signal(signal.SIGTERM)
        window.wait(30)
