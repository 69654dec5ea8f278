#!/usr/bin/python3
"""The production window on three simulated fixtures, driven by the mouse as an operator
drives it and read as a screen reader reads it, its colours seen on the screen.

    qt_window_production_test.py ZORVAN_FLASHER ZORVAN_SIM WORK_DIR SCREENSHOT_DIR

The window is opened by the program's arguments with the three fixtures ticked; a box is
unticked and ticked again, the run-record file is picked in the save dialog, and the line
is started by a click on "Почати все". On each fixture fresh devices come in turn:
- the first: three devices, each of the first two taken away 1 s after its final reset;
- the second: a device that hangs up in the middle of its run (its row turns red, and the
  line takes its port with it), then one that is programmed;
- the third: a device, then its adapter unplugged with it and plugged back 4 s later with
  the next device, which must be programmed on the port that came back.
Every row must show its states in turn, each state field in its colour, the counts and
the totals must come out right, the others must carry on while the second fixture fails,
the log must keep one line per device, a row's button must end its port alone, and
"Зупинити все" must end the line; every click must be answered at once. Every device
programmed must hold the carried firmware byte for byte, and the record file one record a
device. Last, the window is opened from the engineering view by its key."""

import json
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qt_operator import Control, Failed, QtWindow, Screen, SimulatedDevice, run, wait_for  # noqa: E402
from gi.repository import Atspi, GLib  # noqa: E402  (the version qt_operator asks for)

flasher, sim_program, work, screenshots = sys.argv[1:5]

# No pacing and short latencies: a run takes a few seconds, long enough to be seen.
DEVICE = ("--baud", "0", "--erase-ms", "5", "--commit-ms", "1", "--verify", "-")
# Far beyond the moment the window takes: a loaded machine must not fail the test.
ANSWER_LIMIT = 5

# The state field's colours as the skin draws them, by the state text's beginning.
COLOURS = {"grey": (0x8a, 0x93, 0x9d), "blue": (0x1f, 0x5f, 0xbf), "green": (0x1e, 0x8a, 0x3c),
           "red": (0xc4, 0x20, 0x2b), "amber": (0xf0, 0xa5, 0x00), "dark": (0x2b, 0x31, 0x3a)}
STATE_COLOURS = {"Чекаю прилад": "grey", "Йде запис": "blue", "Готово": "green", "Збій": "red",
                 "Відмова": "amber", "Вже прошитий": "amber", "Немає порту": "dark", "Помилка порту": "dark"}


def expected_colour(state):
    for head, colour in STATE_COLOURS.items():
        if state.startswith(head):
            return colour
    return None


def nearest_colour(rgb):
    return min(COLOURS, key=lambda name: sum((a - b) ** 2 for a, b in zip(COLOURS[name], rgb)))


def read(node, default=""):
    try:
        return node.get_name() or default
    except GLib.Error:
        return default


class Row:
    """One row as the accessibility service shows it: the port, the state field, the
    progress, the last device, the counts and the row's button, in that order."""

    def __init__(self, frame):
        self.nodes = [frame.get_child_at_index(i) for i in range(frame.get_child_count())]
        self.port = read(self.nodes[0])
        self.seen = []  # the states in turn

    @property
    def state_node(self):
        return self.nodes[1]

    def state(self):
        return read(self.nodes[1])

    def counts(self):
        return read(self.nodes[4])

    def button(self):
        return read(self.nodes[5])

    def watch(self):
        """Notes the state when it changed; returns it."""
        state = self.state()
        if state and (not self.seen or self.seen[-1] != state):
            self.seen.append(state)
        return state

    def states_in_turn(self):
        """The states seen, the percentages left out."""
        heads = []
        for state in self.seen:
            head = "Йде запис" if state.startswith("Йде запис") else state
            if not heads or heads[-1] != head:
                heads.append(head)
        return heads


class ProductionWindow:
    """The program's window that holds "Почати все", its rows in the order of `ports`."""

    def __init__(self, program, ports, rows=3):
        self.program = program
        self.ports = ports
        self.photographed = set()
        self.read_rows(rows)

    def read_rows(self, count):
        """Waits until the window has `count` rows, and reads them."""
        def with_rows():
            for window in self.program.windows():
                if any(c.role == "push button" and c.name == "Почати все" for c in window) and \
                        sum(1 for c in window if c.role == "frame") == count:
                    return window
            return None
        self.controls = wait_for(f"the production window with {count} rows", 60, with_rows)
        rows = [Row(c.node) for c in self.controls if c.role == "frame"]
        self.rows = [row for port in self.ports for row in rows if row.port.startswith(port)]
        if len(self.rows) != count:
            raise Failed(f"the rows are {[row.port for row in rows]}, not of the ports {self.ports}")

    def control(self, role, name=None, prefix=None):
        for c in self.controls:
            if c.role == role and (name is None or read(c.node) == name) and \
                    (prefix is None or read(c.node).startswith(prefix)):
                return c
        raise Failed(f"the production window has no {role} {name or prefix!r}")

    def totals(self):
        return read(self.control("label", prefix="Разом: ").node)

    def log(self):
        node = next(c.node for c in self.controls if c.role == "text")
        text = Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))
        return [line for line in text.splitlines() if line.strip()]

    def watch(self):
        return [row.watch() for row in self.rows]

    def pause(self, seconds):
        """Waits `seconds`, noting the rows' states meanwhile."""
        end = time.monotonic() + seconds
        while True:
            self.watch()
            if time.monotonic() >= end:
                return
            time.sleep(min(0.05, max(0.0, end - time.monotonic())))

    def wait(self, what, seconds, check):
        """wait_for that notes the rows' states meanwhile."""
        def watching():
            self.watch()
            return check()
        return wait_for(what, seconds, watching, interval=0.05)

    def photograph(self, name):
        """Photographs the screen once under `name`."""
        if name not in self.photographed:
            self.photographed.add(name)
            self.program.photograph(name)

    def check_colours(self):
        """Each row's state field on the screen has its state's colour. The screen is
        painted a moment after the text has changed: a field seen in another colour is
        looked at again before it counts."""
        screen = Screen()
        for row in self.rows:
            for look in range(3):
                state = row.state()
                wanted = expected_colour(state)
                extents = row.state_node.get_extents(Atspi.CoordType.SCREEN)
                seen = nearest_colour(screen.colour(extents.x + 3, extents.y + extents.height // 2))
                if not wanted or seen == wanted or row.state() != state:
                    break
                if look == 2:
                    raise Failed(f"{row.port}: the state field '{state}' is {seen}, not {wanted}")
                time.sleep(0.5)
                screen = Screen()


def fixture(name, *options):
    return SimulatedDevice(sim_program, os.path.join(work, name), work, *DEVICE, *options)


def ticked_boxes(window, ports):
    return [c.name for c in window.controls if c.role == "check box" and c.name.startswith(tuple(ports))
            and c.node.get_state_set().contains(Atspi.StateType.CHECKED)]


def click_at(control, at_left=False):
    """Moves the mouse onto the control where it is now (or onto its left end: a check
    box's tick) and clicks it; returns when the click was made."""
    now = Control(control.node)
    x, y = now.centre()
    if at_left:
        x = now.x + 8
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
    time.sleep(0.3)
    began = time.monotonic()
    subprocess.run(["xdotool", "click", "1"], check=True)
    return began


def answered(what, began, check):
    """How long from `began` until `check` held."""
    wait_for(what, ANSWER_LIMIT * 4, check, interval=0.02)
    seconds = time.monotonic() - began
    if seconds > ANSWER_LIMIT:
        raise Failed(f"{what} took {seconds:.1f} s")
    return seconds


def top_levels(program):
    """The names of the program's top-level windows, read without their controls, so that
    the moment one appears is seen at once."""
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == program.process.pid:
                return [read(app.get_child_at_index(j)) for j in range(app.get_child_count())]
        except GLib.Error:
            continue
    return []


def choose_record_file(program, window, path):
    """Clicks "Файл записів…" and picks `path` in the save dialog, as an operator types it;
    returns how long the dialog took to appear after the click."""
    before = top_levels(program)
    clicked = click_at(window.control("push button", "Файл записів…"))
    seconds = answered("the save dialog to appear", clicked, lambda: len(top_levels(program)) > len(before))
    title = next(name for name in top_levels(program) if name not in before)
    ids = subprocess.run(["xdotool", "search", "--pid", str(program.process.pid), "--name", f"^{re.escape(title)}$"],
                         capture_output=True, text=True).stdout.split()
    if not ids:
        raise Failed("the save dialog is not on the screen")
    # The rows are watched meanwhile: a state the line shows for a few seconds is not missed.
    for keys in (["windowfocus", "--sync", ids[-1]], ["key", "--clearmodifiers", "ctrl+a"],
                 ["type", "--delay", "20", path], ["key", "Return"]):
        xdotool = subprocess.Popen(["xdotool", *keys])
        while xdotool.poll() is None:
            window.pause(0.05)
        window.pause(0.1)
    window.wait(f"the record file to read {path}", 20, lambda: window.control("label", path))
    return seconds


def check_records(path, ports):
    """The records the window appended: one a device, in the command line's shape, which
    its `records` command reads."""
    with open(path, encoding="utf-8") as lines:
        records = [json.loads(line) for line in lines]
    fields = {"began", "seconds", "host", "port", "adapter", "baud", "loader_version", "description", "firmware",
              "forced", "result", "failed_attempts", "final_pauses", "progress"}
    for record in records:
        if set(record) != fields:
            raise Failed(f"a record's fields are {sorted(record)}, not {sorted(fields)}")
    outcomes = {port: sorted(r["result"]["exit_status"] == 0 for r in records if r["port"] == port) for port in ports}
    if list(outcomes.values()) != [[True] * 3, [False, True], [True] * 2]:
        raise Failed(f"the records' outcomes by port: {outcomes}")
    table = subprocess.run([os.path.join(os.path.dirname(flasher), "zorvan-flash"), "records", path],
                           capture_output=True, text=True)
    if table.returncode != 0 or sum(1 for line in table.stdout.splitlines() if work in line) != 7:
        raise Failed(f"zorvan-flash records read the file as: {table.stdout}{table.stderr}")
    print(f"   {len(records)} records, one a device; zorvan-flash records lists them")


def scenario():
    os.makedirs(screenshots, exist_ok=True)
    first = fixture("fixture1", "--count", "3", "--in-turn", "--gap", "1000",
                    "--device", "1", "--leave-after", "1000", "--device", "2", "--leave-after", "1000")
    second = fixture("fixture2", "--count", "2", "--in-turn", "--gap", "3000", "--device", "1", "--hangup-after", "1500")
    third = fixture("fixture3", "--count", "2", "--in-turn", "--port-leaves", "--gap", "4000",
                    "--device", "1", "--leave-after", "1000")
    ports = [os.path.join(work, f"fixture{i}") for i in (1, 2, 3)]
    program = QtWindow(flasher, ["--production", *ports], screenshots)
    try:
        print("== zorvan-flasher --production: the window with the three fixtures ticked")
        window = ProductionWindow(program, ports)
        if len(ticked_boxes(window, ports)) != 3:
            raise Failed(f"the port list ticks {ticked_boxes(window, ports)}, not the three fixtures")
        print(f"   {read(window.control('label', prefix='Мікропрограма').node)}")

        print("== the first fixture's box unticked and ticked again: its row goes, and comes back")
        box = next(c for c in window.controls if c.role == "check box" and c.name.startswith(ports[0]))
        click_at(box, at_left=True)
        window.ports = ports[1:]
        window.read_rows(2)
        click_at(box, at_left=True)
        window.ports = ports
        window.read_rows(3)
        if len(ticked_boxes(window, ports)) != 3:
            raise Failed(f"the port list ticks {ticked_boxes(window, ports)} after the first was ticked again")

        print("== 'Файл записів…': the save dialog, a file typed in")
        records = os.path.join(work, "runs.jsonl")
        print(f"   the dialog appeared {choose_record_file(program, window, records):.2f} s after the click")

        print("== a click on 'Почати все'")
        clicked = click_at(window.control("push button", "Почати все"))
        seconds = answered("every row's button to read 'Зупинити'", clicked,
                           lambda: all(row.button() == "Зупинити" for row in window.rows))
        print(f"   every port started {seconds:.2f} s after the click")

        expected = ["Прошито 3, збоїв 0, відмов 0", "Прошито 1, збоїв 1, відмов 0", "Прошито 2, збоїв 0, відмов 0"]
        passes_at_failure = None
        deadline = time.monotonic() + 120
        while [row.counts() for row in window.rows] != expected:
            if time.monotonic() > deadline:
                raise Failed(f"the counts read {[row.counts() for row in window.rows]}, not {expected}")
            states = window.watch()
            window.check_colours()
            if sum(s.startswith("Йде запис") for s in states) >= 2 and "again" not in window.photographed:
                window.photograph("qt-production-running")
                # The same file picked again while the ports program: no record is lost,
                # and the dialog answers at once.
                window.photographed.add("again")
                seconds = choose_record_file(program, window, records)
                print(f"   the dialog appeared {seconds:.2f} s after the click, while the ports programmed")
            if passes_at_failure is None and "збоїв 1" in window.rows[1].counts():
                passes_at_failure = window.rows[0].counts()
                window.photograph("qt-production-failure")
            time.sleep(0.1)
        # The last device of each fixture stays: the looks at it must not program it again.
        time.sleep(3)
        if [row.counts() for row in window.rows] != expected:
            raise Failed(f"a device that stayed was counted again: {[row.counts() for row in window.rows]}")
        window.watch()

        for row in window.rows:
            print(f"   {row.port}: {' -> '.join(row.states_in_turn())}; {row.counts()}")
        first_row, second_row, third_row = (row.states_in_turn() for row in window.rows)
        if "Йде запис" not in first_row or not first_row[-1].startswith("Готово"):
            raise Failed(f"the first fixture's row went {first_row}")
        if not any(s.startswith("Збій") for s in second_row) or not second_row[-1].startswith("Готово"):
            raise Failed(f"the failed device's row went {second_row}: no red 'Збій', or the next device not passed")
        if "Немає порту" not in third_row or "Йде запис" not in third_row[third_row.index("Немає порту"):]:
            raise Failed(f"the unplugged fixture's row went {third_row}: not programmed after it came back")
        if passes_at_failure == window.rows[0].counts():
            raise Failed("the first fixture programmed nothing after the second one's device failed")
        print(f"   the others carried on: the first fixture had {passes_at_failure} at the failure")
        totals = window.totals()
        if "Прошито 6, збоїв 1, відмов 0" not in totals:
            raise Failed(f"the totals read {totals!r}")
        print(f"   {totals}")
        log = window.log()
        devices = [line for line in log if any(port in line for port in ports) and "250101" in line]
        if len(devices) != 7:
            raise Failed(f"the log keeps {len(devices)} device lines, not 7: {log}")
        # The line hung up as the window read from it or wrote to it.
        failed = next((line for line in devices if ports[1] in line and
                       ("Помилка читання з порта" in line or "Помилка запису в порт." in line)), None)
        # The line goes on by itself: nothing tells the operator to restart the program.
        if failed is None or "повторно відкрити програму" in failed:
            raise Failed(f"the log does not name the failed device's port error alone: {log}")
        print(f"   the log keeps a line per device, {len(devices)}; the failed one: {failed}")

        print("== a click on the first row's 'Зупинити' while the ports look at the devices that stay")
        clicked = click_at(Control(window.rows[0].nodes[5]))
        seconds = answered("the first row to end", clicked, lambda: window.rows[0].state() == "Вимкнено")
        others = [row.state() for row in window.rows[1:]]
        print(f"   the first port ended {seconds:.2f} s after the click; the others read {others}")
        if window.rows[0].button() != "Почати" or not all(state.startswith("Готово") for state in others):
            raise Failed(f"the first row's button stopped more than its port: {[r.state() for r in window.rows]}")

        print("== a click on 'Зупинити все'")
        clicked = click_at(window.control("push button", "Зупинити все"))
        seconds = answered("every row's button to read 'Почати'", clicked,
                           lambda: all(row.button() == "Почати" for row in window.rows))
        states = [row.state() for row in window.rows]
        print(f"   the line ended {seconds:.2f} s after the click: {states}")
        if states != ["Вимкнено"] * 3 or not window.control("push button", "Почати все").node.get_state_set() \
                .contains(Atspi.StateType.ENABLED):
            raise Failed(f"after 'Зупинити все' the rows read {states}, and 'Почати все' is not enabled")
        window.photograph("qt-production-ended")
        window.check_colours()
    except Failed:
        program.photograph("qt-production-test-failed")
        raise
    finally:
        program.close()

    print("== the devices' flash")
    held = []
    for device, name in ((first, "first"), (second, "second"), (third, "third")):
        _, output = device.stop()
        holds = [line for line in output.splitlines() if "the flash holds the carried firmware" in line]
        print(f"   the {name} fixture: {len(holds)} devices hold the carried firmware")
        held.append(len(holds))
    # The second fixture's first device hung up in the middle of its run.
    if held != [3, 1, 2]:
        raise Failed(f"devices holding the carried firmware, fixture by fixture: {held}, not [3, 1, 2]")
    check_records(records, ports)


def opened_by_its_key():
    """The window opened from the engineering view by Ctrl+Shift+P, with no port ticked;
    a port ticked with the mouse gets its row."""
    print("== Ctrl+Shift+E, Ctrl+Shift+P: the production window opened from the engineering view")
    port = os.path.join(work, "fixture1")
    program = QtWindow(flasher, [port], screenshots)
    try:
        program.expect("label", "Мікропрограма готова до запису", seconds=90)
        program.press("ctrl+shift+e")
        program.expect("push button", "Визначити", enabled=True)
        program.press("ctrl+shift+p")
        window = ProductionWindow(program, [], rows=0)
        box = next(c for c in window.controls if c.role == "check box" and c.name.startswith(port))
        click_at(box, at_left=True)
        window.ports = [port]
        window.read_rows(1)
        print(f"   {window.rows[0].port}: {window.rows[0].state()}, '{window.rows[0].button()}'")
    finally:
        program.close()


def test():
    began = time.monotonic()
    try:
        scenario()
        opened_by_its_key()
        print(f"The production window passed in {time.monotonic() - began:.0f} s: three fixtures, every device "
              "programmed once and verified, the failure and the unplugged port in their rows.")
    finally:
        SimulatedDevice.kill_all()  # a failed test leaves none behind


run(test)
