#!/usr/bin/env bash
# The Windows production window under Wine on a virtual X server, driven by the mouse as
# an operator drives a line of three fixtures, with zorvan-sim (the Linux build) serving
# them on COM151 to COM153:
#   COM151  a fixture whose adapter stays: each device is swapped for the next 1 s after
#           its run, and every one passes;
#   COM152  every device hangs up early in its run and takes the adapter with it for 3 s;
#   COM153  the adapter goes with each device, for 3 s, and every device passes.
# `zorvan-flasher.exe --production COM151 COM152 COM153` opens the window with the three
# rows (a fourth port ticked in the list and cleared again adds a row and takes it away);
# a file for the run records is typed into the save dialog of "Файл записів…", and
# a click on "Почати все" starts the rows. Each row must show its states in turn, the
# failed device red while the others carry on programming, the ports that left must
# resume when they come back, and a click on "Зупинити все" must end the line. The rows'
# counts, the line's tally, the log and the records (one per device) must agree, and
# every device counted as passed must hold the firmware (zorvan-sim compares each device's flash with it at the end).
# Closed, the window must show again on Ctrl+Shift+P in the engineering view, rows and
# counts as they were.
# zorvan-window-probe reads the window as the operator's eyes would, and times how soon
# it answers the clicks.
#   wine_window_production_test.sh ZORVAN_FLASHER_EXE WINDOW_PROBE_EXE ZORVAN_SIM [SCREENSHOT_DIR]
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

window_test_prefix=production
source "$(dirname "$0")/wine_window_session.sh" "$@"
prepare_prefix

# Far beyond the moment the window takes: a loaded machine must not fail the test.
answer_limit_ms=5000
now_ms() { date +%s%3N; }

# The states, the tally and the buttons' captions as the window words them.
programming="Йде запис"
passed="Готово, замініть"
failed="Збій, замініть"
no_port="Немає порту"
ended="Вимкнено"
stop_port="Зупинити"
start_port="Почати"
stop_run="Перервати"

# Where the state field of row `row` is sampled on the screen, near its left edge: "x y".
state_point() {
  local bounds width x y
  bounds=$(probe bounds "Production.Row$1.State")
  read -r _ _ width _ <<<"$(sed -n 1p <<<"$bounds")"
  read -r x y <<<"$(sed -n 2p <<<"$bounds")"
  echo "$((x - width / 2 + 5)) $y"
}
# The colour of the point (x y) in the frame `frame` (a copy of Xvfb's), as "R G B".
colour_at() {
  xwdtopnm "$1" 2>/dev/null | pnmcut -left "$2" -top "$3" -width 1 -height 1 | pnmtoplainpnm | tail -n 1 | xargs
}
# The production window in the frame `frame`, with a margin, as the PNG `name`.
photograph_frame() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$line")"
  xwdtopnm "$1" 2>/dev/null | pnmcut -left $((X - 40)) -top $((Y - 40)) -width $((WIDTH + 80)) -height $((HEIGHT + 80)) |
    pnmtopng >"$shots/$2.png"
  echo "   $shots/$2.png"
}
# The state fields' colours (app/win32/production_row_panel.cpp).
red="198 40 40"

# Moves the mouse onto `control`, clicks it, and prints the milliseconds until `watched`
# read a text beginning with `text`: zorvan-window-probe reads the window as the window
# answers it, so a window that holds its messages holds the probe too.
click_and_time() {
  local control=$1 watched=$2 text=$3 centre began seen probe_pid
  centre=$(probe bounds "$control" | sed -n 2p)
  [ -n "$centre" ] || fail "no control $control on the screen"
  # shellcheck disable=SC2086
  xdotool mousemove $centre
  WINEPREFIX=$prefix WINEDEBUG=-all wine "$probe_exe" until "$watched" 60 "$text" >"$work/until" 2>/dev/null &
  probe_pid=$!
  wait_for 60 test -s "$work/until" || fail "the probe did not start"
  began=$(now_ms)
  xdotool click 1
  wait "$probe_pid" || fail "after a click on $control, $watched never read '$text': $(sed -n 2p "$work/until")"
  seen=$(sed -n 3p "$work/until" | tr -d '\r')
  echo $((seen - began))
}
answer_times=()
timed_click() {
  local took
  took=$(click_and_time "$@")
  [ "$took" -le "$answer_limit_ms" ] || fail "a click on $1 took $took ms to show"
  answer_times+=("$took")
  echo "   a click on $1: $2 read '$3' $took ms later"
}
# Waits up to `limit` seconds until `control` reads a text that begins with `text`, and
# prints it.
expect_begins() {
  local control=$1 limit=$2 text=$3 seen
  seen=$(probe until "$control" "$limit" "$text" | sed -n 2p) || true
  [[ $seen == "$text"* ]] || fail "$control reads '$seen', not '$text...'"
  echo "   $control: $seen"
}
# The counts a text gives: "passed failed refused".
counts_of() {
  local text=$1
  echo "$(grep -oP 'Прошито \K[0-9]+' <<<"$text") $(grep -oP 'збоїв \K[0-9]+' <<<"$text") $(grep -oP 'відмов \K[0-9]+' <<<"$text")"
}

echo "== three fixtures on COM151, COM152, COM153"
"$sim" --count 3 --baud 0 --verify - \
  --device 1 --leave-after 1000 --gap 1000 \
  --device 2 --link "$work/fixture2" --hangup-after 300 --leave-after 1000 --gap 3000 \
  --device 3 --link "$work/fixture3" --port-leaves --leave-after 1000 --gap 3000 \
  >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
started() { [ "$(wc -l <"$work/sim.out")" -ge 3 ]; }
wait_for 10 started || { cat "$work/sim.err"; fail "zorvan-sim did not start"; }
mapfile -t first_ports <"$work/sim.out"
ln -sfn "${first_ports[0]}" "$prefix/dosdevices/com151"
ln -sfn "$work/fixture2" "$prefix/dosdevices/com152"
ln -sfn "$work/fixture3" "$prefix/dosdevices/com153"
linked_ports+=(com151 com152 com153)

"$here/wine_run.sh" "$exe" --production COM151 COM152 COM153 >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 120 has_window "^Zorvan Bootloader" || fail "no main window appeared"
main=$(visible_window "^Zorvan Bootloader")
production_shown() { probe title production >/dev/null && [ -n "$(production_window)" ]; }
production_window() {
  local pattern
  pattern=$(sed 's/[][().*+?^$|\\]/\\&/g' <<<"$(probe title production)")
  xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | head -n 1
}
wait_for 60 production_shown || fail "--production opened no production window"
line=$(production_window)
title=$(probe title production)
header=$(probe text Production.Header)
echo "   the title: $title"
echo "   the header: $header"
grep -qE '[0-9a-f]{12}' <<<"$title $header" || fail "neither the title nor the header shows the firmware's SHA-256"
for row in 1 2 3; do
  port=$(probe text "Production.Row$row.Port")
  [[ $port == "COM15$row"* ]] || fail "row $row is of '$port', not of COM15$row"
  expect_begins "Production.Row$row.State" 10 "$ended"
done

echo "== a port ticked in the list gets a row, and cleared again loses it"
click Production.Ports
press "$line" End
press "$line" space
has_row() { probe text "Production.Row$1.Port" >/dev/null; }
wait_for 10 has_row 4 || fail "ticking the list's last port made no fourth row"
echo "   row 4: $(probe text Production.Row4.Port)"
press "$line" space
no_row() { ! has_row "$1"; }
wait_for 10 no_row 4 || fail "clearing the port's tick left its row"
has_row 3 || fail "clearing the fourth port took the third row away"

echo "== Файл записів…: the runs' records go to a file typed into the save dialog"
click Production.RecordFile
dialog=$(message_box 60) || fail "no save dialog"
dialog_title=$(head -n 1 <<<"$dialog")
wait_for 10 box_on_screen "$dialog_title" || fail "the save dialog is not on the screen"
xdotool windowfocus --sync "$(box_window "$dialog_title")"
sleep 0.5
records_path="Z:${work//\//\\}\\records.jsonl"
holds_path() { [ "$(probe file-name)" = "$records_path" ]; }
# A busy Wine may miss a key: the name is typed again, more slowly, until the box holds it.
for attempt in 1 2 3 4 5; do
  xdotool key --clearmodifiers End shift+Home Delete
  xdotool type --delay $((50 * attempt)) "$records_path"
  wait_for 5 holds_path && break
done
holds_path || fail "the file name box reads '$(probe file-name)', not '$records_path'"
xdotool key --clearmodifiers Return
expect_text Production.RecordPath 30 "Записи: $records_path"

echo "== Почати все"
timed_click Production.StartAll Production.Row1.Button "$stop_port"
expect_begins Production.Row1.State 120 "$programming"
expect_begins Production.Row3.State 120 "$programming"
photograph "$line" production-running

echo "== COM152's device hangs up: red, while the others carry on"
# A device that hangs up takes the port with it, and the row soon reads "Немає порту":
# the screen is copied the moment the probe reads the failure, and looked at in the copy.
point=$(state_point 2)
colour=
for _ in 1 2 3 4 5; do
  expect_begins Production.Row2.State 180 "$failed" >/dev/null
  cp "$work/screen/Xvfb_screen0" "$work/frame"
  # shellcheck disable=SC2086
  colour=$(colour_at "$work/frame" $point)
  [ "$colour" = "$red" ] && break
  echo "   row 2 failed, but was $colour by the time the screen was copied"
done
[ "$colour" = "$red" ] || fail "the failed row's state field was never seen red ($red)"
echo "   row 2 read '$failed' and was red"
photograph_frame "$work/frame" production-failed
for row in 1 3; do
  state=$(probe text "Production.Row$row.State")
  [[ $state != "$failed"* && $state != "$ended" ]] || fail "row $row reads '$state' while row 2 failed"
done

echo "== COM151's states in turn: each device passes, and the next is programmed once swapped in"
expect_begins Production.Row1.State 180 "$passed"
expect_begins Production.Row1.State 60 "$programming"

echo "== COM153's adapter leaves with its device and comes back"
expect_begins Production.Row3.State 180 "$no_port"
expect_begins Production.Row3.State 180 "$programming"

echo "== Зупинити все: each port ends once its run is over"
timed_click Production.StopAll Production.Row1.Button "$stop_run"
for row in 1 2 3; do expect_begins "Production.Row$row.State" 180 "$ended"; done
for row in 1 2 3; do
  [ "$(probe text "Production.Row$row.Button")" = "$start_port" ] ||
    fail "row $row's button reads '$(probe text "Production.Row$row.Button")' once the line ended"
done
[ "$(probe enabled Production.StartAll)" = 1 ] || fail "Почати все is disabled once the line ended"
photograph "$line" production-ended

echo "== the counts, the tally and the log agree"
sum=(0 0 0)
for row in 1 2 3; do
  read -r -a counts <<<"$(counts_of "$(probe text "Production.Row$row.Counts")")"
  for i in 0 1 2; do sum[i]=$((sum[i] + counts[i])); done
  row_counts[row]="${counts[*]}"
done
# COM151 programmed a second device once the first was swapped, and COM153 one when it
# came back: the runs going when the line was stopped were finished.
for row in 1 3; do
  read -r passes failures _ <<<"${row_counts[row]}"
  [ "$passes" -ge 2 ] && [ "$failures" = 0 ] || fail "row $row counts ${row_counts[row]}"
done
[ "$(cut -d' ' -f1 <<<"${row_counts[2]}")" = 0 ] || fail "row 2 counts passes: ${row_counts[2]}"
[ "$(cut -d' ' -f2 <<<"${row_counts[2]}")" -ge 1 ] || fail "row 2 counts no failure: ${row_counts[2]}"
totals=$(probe text Production.Totals)
echo "   $totals"
[ "$(counts_of "$totals")" = "${sum[*]}" ] || fail "the tally reads '$totals', the rows add up to ${sum[*]}"
log=$(probe text Production.Log)
devices=$(grep -cE '  COM15[123]  .*\)$' <<<"$log" || true)
[ "$devices" -eq $((sum[0] + sum[1] + sum[2])) ] ||
  fail "the log has $devices device lines for $((sum[0] + sum[1] + sum[2])) devices counted:
$log"

# Closing the production window once the line has ended hides it; the main window ends
# the program.
press "$line" alt+F4
production_hidden() { [ -z "$(production_window)" ]; }
wait_for 30 production_hidden || fail "Alt+F4 left the production window on the screen"

echo "== Ctrl+Shift+P in the engineering view shows it again, with its rows and counts"
press "$main" ctrl+shift+e
grows() { [ "$(probe size main)" != "329 127" ]; }
wait_for 20 grows || fail "Ctrl+Shift+E left the window at 329 x 127"
press "$main" ctrl+shift+p
wait_for 30 production_shown || fail "Ctrl+Shift+P showed no production window"
line=$(production_window)
for row in 1 2 3; do
  [ "$(counts_of "$(probe text "Production.Row$row.Counts")")" = "${row_counts[row]}" ] ||
    fail "row $row counts $(probe text "Production.Row$row.Counts") once shown again"
done
echo "   the rows as they were"
press "$line" alt+F4
wait_for 30 production_hidden || fail "Alt+F4 left the production window on the screen"
close_window

echo "== one run record per device, as the command line writes them"
python3 - "$work/records.jsonl" "${row_counts[@]}" <<'CHECK' || fail "the run records are not one per device"
import json, sys
records = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
for row, counts in enumerate(sys.argv[2:], start=1):
    passes, failures, refusals = map(int, counts.split())
    port = [r for r in records if r["port"] == f"COM15{row}"]
    ok = sum(r["result"]["exit_status"] == 0 for r in port)
    print(f"   COM15{row}: {len(port)} records, {ok} of them passes")
    assert (ok, len(port)) == (passes, passes + failures + refusals), (row, counts)
    for r in port:
        assert {"began", "seconds", "port", "description", "firmware", "result", "progress"} <= r.keys(), r
CHECK

echo "== every device counted as passed holds the firmware"
kill -TERM "$sim_pid"
wait "$sim_pid" || true
sim_pid=
holds() { grep -cE "^zorvan-sim: $1( device [0-9]+)?: the flash holds " "$work/sim.out" || true; }
differs() { grep -cE "^zorvan-sim: $1( device [0-9]+)?: the flash does not hold " "$work/sim.out" || true; }
for row in 1 2 3; do
  read -r passes failures _ <<<"${row_counts[row]}"
  port=${first_ports[row - 1]}
  [ "$(holds "$port")" = "$passes" ] && [ "$(differs "$port")" = "$failures" ] || {
    cat "$work/sim.out" "$work/sim.err"
    fail "COM15$row: $passes passed and $failures failed, but $(holds "$port") devices hold the firmware and $(differs "$port") do not"
  }
  echo "   COM15$row: $passes devices hold the firmware, $failures do not"
done
echo "   clicks answered in ${answer_times[*]} ms"
echo "The production window passed under Wine: three rows ran side by side, the failure stayed in its row, the ports that left resumed, and Stop all ended the line."
