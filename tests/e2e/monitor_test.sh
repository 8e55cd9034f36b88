# End-to-end tests of the status monitor, LX90VENDRA(ESC P).exe: start-up, the status window's
# texts, its show and hide commands, single instance. They run in a fresh prefix, where no printer
# queue of the model exists (monitor_status_test.sh covers what the monitor then shows, and the
# monitoring with queues).

MONITOR_CAPTION="Veltro LX90 VENDRA (ESC P) - Status Monitor"
MONITOR_TEMPLATE_CAPTION="Veltro LX90 VENDRA(ESC P)- Status Monitor"
MONITOR_VERSION="Ver 2.01 (9W)"
ID_OK=1007 ID_TIP=1008 ID_VERSION=1010
CMD_SHOW=101 CMD_EXIT=104

# The printing tips in wintest's escaped form of their code page 1252 bytes.
MONITOR_TIPS=(
  'In case of "Printer Fonts" set font size as 10 for better throughput and speed.'
  'Ensure same "Page Size" setting is selected in application (like MS-Word) and also in printer driver.'
  'For multicopy stationery use Copy Mode setting as Enabled for good quality printing.'
  'In case of power failure or the printer is switched OFF while printing, cancel the previous print job and clear the printer buffer memory.'
  'If the printer is printing slow, try Bidirectional setting in Printer Menu mode.'
  'Caution \x96 Do not rotate the platen knob while printer is switched ON.'
  'Caution \x96 Do not connect the parallel port cable while the printer is switched ON.'
  'Garbage printing indicates a faulty cable or loose connection. Switch OFF the printer, disconnect and reconnect the cable in printer and computer.'
  'PRINT LED will blink when there is no paper in the printer.'
  'If you are replacing a ribbon be sure the printer is switched OFF.'
  'Use Veltro Ink bank to recharge your ribbon cassette.'
)

monitor_exe() { printf '%s' "$E2E_BUILD_DIR/monitor/LX90VENDRA(ESC P).exe"; }

# Starts a monitor under NAME and waits until its window has been initialised: FindWindow can
# see a dialog before its initialisation has run, the version text is set near its end.
monitor_start() {
  local name=${1:-monitor}
  [ -f "$(monitor_exe)" ] || fail "not built: $(monitor_exe)"
  e2e_launch "$name" "$(monitor_exe)"
  wt -t 30000 wait exists "$MONITOR_CAPTION" || fail "no window \"$MONITOR_CAPTION\" within 30 s"
  wt wait text "$MONITOR_CAPTION" $ID_VERSION "$MONITOR_VERSION" ||
    fail "version control: '$(wt text "$MONITOR_CAPTION" $ID_VERSION)', want '$MONITOR_VERSION'"
}

monitor_running() { kill -0 "${E2E_PID[${1:-monitor}]}" 2>/dev/null; }

monitor_show() {
  wt command "$MONITOR_CAPTION" $CMD_SHOW || fail "posting command 101"
  wt wait visible "$MONITOR_CAPTION" || fail "not shown by command 101"
}

check_tip() {
  wt wait text "$MONITOR_CAPTION" $ID_TIP "${MONITOR_TIPS[$2]}" ||
    fail "$1: tip control '$(wt text "$MONITOR_CAPTION" $ID_TIP)', want tip $2 '${MONITOR_TIPS[$2]}'"
}

monitor_starts_hidden() {
  monitor_start
  wt visible "$MONITOR_CAPTION"; check_eq "visible after start" $? 1
  wt -t 5000 wait taskbar-known "$MONITOR_CAPTION" || fail "the shell does not know the window"
  wt taskbar "$MONITOR_CAPTION"; check_eq "task button after start (1: none shown)" $? 1
  check_eq "windows with the caption" "$(wt count "$MONITOR_CAPTION")" 1
  check_eq "windows with the template's caption" "$(wt count "$MONITOR_TEMPLATE_CAPTION")" 0
  check_eq "version" "$(wt text "$MONITOR_CAPTION" $ID_VERSION)" "$MONITOR_VERSION"
  check_tip "first tip" 0
  local shot="$E2E_ARTIFACTS/monitor-started-hidden.png" rect
  e2e_screenshot "$shot"
  wt visible "$MONITOR_CAPTION"; check_eq "visible after the screenshot" $? 1
  # Nothing of the window on the screen: where it would be, the bare desktop.
  rect=$(wt rect "$MONITOR_CAPTION" 0) || fail "no window rectangle"
  check_eq "colours on the screen at the window's place ($rect)" "$(e2e_colours_in "$shot" $rect)" 1
  monitor_running || fail "the monitor ended"
}

monitor_show_walks_the_tips() {
  monitor_start
  check_tip "at start" 0
  monitor_show
  check_tip "first show" 1
  wt -t 5000 wait taskbar "$MONITOR_CAPTION" || fail "no task button while shown"
  local shot="$E2E_ARTIFACTS/monitor-shown.png" rect colours
  e2e_screenshot "$shot" "$MONITOR_CAPTION"
  # The window is drawn on the screen (frame, texts, the printer picture): many colours there.
  rect=$(wt rect "$MONITOR_CAPTION" 0) || fail "no window rectangle"
  colours=$(e2e_colours_in "$shot" $rect)
  [ "$colours" -ge 10 ] || fail "only $colours colours on the screen at the shown window ($rect)"
  # The show command again while the window is visible: the next tip each time, 10 wraps to 0.
  local k
  for k in 2 3 4 5 6 7 8 9 10 0 1; do
    wt command "$MONITOR_CAPTION" $CMD_SHOW || fail "posting command 101"
    check_tip "show while visible" "$k"
    wt visible "$MONITOR_CAPTION" || fail "hidden after a show command (tip $k)"
  done
  monitor_running || fail "the monitor ended"
}

monitor_close_box_point() {
  # A screen point of the close box: wintest asks the window which part is where.
  wt hit "$MONITOR_CAPTION" 20
}

# True when the screen shows the bare desktop in the rectangle X Y W H.
monitor_screen_plain_at() {
  import -display "$DISPLAY" -window root "$E2E_CASE_DIR/probe.png" &&
    [ "$(e2e_colours_in "$E2E_CASE_DIR/probe.png" "$@")" = 1 ]
}

monitor_hide_ways() {
  monitor_start
  local way rect
  for way in ok-button escape-posted escape-keyboard close-command close-message close-box-click; do
    monitor_show
    case $way in
      ok-button)       wt click "$MONITOR_CAPTION" $ID_OK ;;
      escape-posted)   wt key "$MONITOR_CAPTION" 0x1B ;;
      escape-keyboard) xdotool key Escape ;;
      close-command)   wt post "$MONITOR_CAPTION" 0x0112 0xF060 0 ;;   # WM_SYSCOMMAND SC_CLOSE
      close-message)   wt post "$MONITOR_CAPTION" 0x0010 0 0 ;;        # WM_CLOSE
      close-box-click)
        local xy; xy=$(monitor_close_box_point) || fail "no close box found"
        xdotool mousemove $xy click 1 ;;
    esac || fail "$way: could not deliver"
    rect=$(wt rect "$MONITOR_CAPTION" 0) || fail "$way: no window rectangle"
    wt wait hidden "$MONITOR_CAPTION" || fail "$way: window still visible"
    e2e_poll 5000 monitor_screen_plain_at $rect || fail "$way: window still on the screen"
    wt -t 5000 wait no-taskbar "$MONITOR_CAPTION" || fail "$way: task button still shown"
    check_eq "$way: windows with the caption" "$(wt count "$MONITOR_CAPTION")" 1
    monitor_running || fail "$way: the monitor ended"
  done
  monitor_show
  check_tip "show after the hides" 7
}

monitor_single_instance() {
  monitor_start first
  local t0; t0=$(date +%s%3N)
  e2e_launch second "$(monitor_exe)"
  e2e_wait_exit "${E2E_PID[second]}" 10000 || fail "the second launch did not end within 10 s"
  echo "second launch ended after $(( $(date +%s%3N) - t0 )) ms"
  check_eq "windows with the caption" "$(wt count "$MONITOR_CAPTION")" 1
  wt msgbox >/dev/null; check_eq "message box (4: none)" $? 4
  monitor_running first || fail "the first monitor ended"
  wt visible "$MONITOR_CAPTION"; check_eq "first window visible" $? 1

  local winpid; winpid=$(wt pid "$MONITOR_CAPTION") || fail "no process id"
  wt command "$MONITOR_CAPTION" $CMD_EXIT || fail "posting command 104"
  wt wait gone "$MONITOR_CAPTION" || fail "window still there after Exit"
  wt wait process-gone "$winpid" || fail "process $winpid still there after Exit"
  e2e_wait_exit "${E2E_PID[first]}" 10000 || fail "the first monitor did not end after Exit"

  monitor_start third
  check_tip "a new run" 0
  wt visible "$MONITOR_CAPTION"; check_eq "new run visible" $? 1
  monitor_show
  check_tip "a new run's first show" 1
}

e2e_register monitor_starts_hidden monitor_starts_hidden
e2e_register monitor_show_walks_the_tips monitor_show_walks_the_tips
e2e_register monitor_hide_ways monitor_hide_ways
e2e_register monitor_single_instance monitor_single_instance
