# End-to-end tests of what the status monitor, LX90VENDRA(ESC P).exe, watches and shows: the
# queue of its model on the different kinds of port, the USB printer coming and going, the
# spooler's paused and printing states (through the winspool stand-in), a queue moved to another
# port, the searching display after the show command and the tray icon.
#
# Each case makes the queue it needs in its own prefix before the monitor starts, and waits for
# what the monitor shows by polling its controls. The monitor evaluates once a second, so a
# timeline of a control (wintest timeline, GetTickCount stamps) measures how many evaluations a
# display lasted.

. "$E2E_LIB_DIR/winspool_standin/standin.sh"

MS_QUEUE="Veltro LX90 VENDRA (ESC P)"
MS_CAPTION="$MS_QUEUE - Status Monitor"
MS_HEADING=1004 MS_ADVICE=1005 MS_OK=1007 MS_VERSION=1010
MS_CMD_SHOW=101
MS_PRINTERS_KEY='HKLM\System\CurrentControlSet\Control\Print\Printers'
MS_PORTS_KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports'

# Display texts in wintest's escaped form.
MS_READY_ADVICE='Ready to print.'
MS_USB_ADVICE='Printer is not connected or switched OFF.\nEnsure USB cable is connected properly and the printer is switched ON.'
MS_LPT_ADVICE='Check all connections and make sure all device is turned ON.\nIf the power was turned off during printing, cancel the print job.'
MS_PAUSED_ADVICE='"Pause Printing" is selected in Veltro LX90 VENDRA (ESC P) driver.\nGoto "Printer and Faxes" folder, right click and choose "Resume Printing"'
MS_PRINTING_ADVICE='Printing...\n(Window will minimize in 2sec...)'
MS_JOB_ERROR_ADVICE='Check all connections and make sure all device is turned ON. If the power was turned off during printing, cancel the print job.'
MS_SEARCHING_ADVICE='Searching the printer...'

# The printer's USB device interface name as the system announces it (class: USB devices).
MS_USB_CLASS='{a5dcbf10-6530-11d2-901f-00c04fb951ed}'
MS_USB_PRINTER='\\\\?\\USB#VID_1C9F&PID_3A06#LX90_VENDRA#'"$MS_USB_CLASS"

# Notification area: the first icon's slot, and the slot left of it (always empty here).
MS_TRAY_ICON_X=1014 MS_TRAY_ICON_Y=758

# The monitor program, copied into the case's own folder so that a stand-in winspool.drv can be
# put beside it.
ms_app_dir() { printf '%s' "$E2E_CASE_DIR/app"; }
ms_exe() { printf '%s' "$(ms_app_dir)/LX90VENDRA(ESC P).exe"; }

# Measured spans of a case go to ARTIFACTS/<case>.timings, for a look at their spread.
ms_prepare() {
  ms_timings="$E2E_ARTIFACTS/${E2E_CASE_DIR##*/case-}.timings"
  rm -f "$ms_timings"
  mkdir -p "$(ms_app_dir)"
  cp "$E2E_BUILD_DIR/monitor/LX90VENDRA(ESC P).exe" "$(ms_exe)" || fail "monitor not built"
}

# The stand-in beside the monitor; the queue's test state starts as "idle, no jobs".
ms_use_standin() {
  standin_install "$(ms_app_dir)" || fail "installing the winspool stand-in"
  standin_enable
  standin_set_status "$MS_QUEUE" 0 || fail "stand-in status"
  standin_set_jobs "$MS_QUEUE" || fail "stand-in jobs"
}

ms_reg() { wine reg "$@" >/dev/null 2>&1; }

# The queue of the model on PORT; a USB port is first made known to the spooler.
ms_add_queue() {
  local port=$1
  case $port in
    USB*) ms_reg add "$MS_PORTS_KEY" /v "$port" /t REG_SZ /d "" /f || fail "adding port $port" ;;
  esac
  wt add-printer "$MS_QUEUE" "$port" || fail "creating the queue on $port"
}

# Writes the queue's port where the spooler keeps it: "Port" (what GetPrinter reports) first,
# then DsSpooler\portName (what the monitor compares with once a second).
ms_move_queue() {
  local port=$1 key="$MS_PRINTERS_KEY\\$MS_QUEUE"
  ms_reg add "$key" /v Port /t REG_SZ /d "$port" /f || fail "writing Port"
  ms_reg add "$key\\DsSpooler" /v portName /t REG_MULTI_SZ /d "$port" /f ||
    fail "writing DsSpooler\\portName"
}

ms_start() {
  e2e_launch monitor "$(ms_exe)"
  wt -t 30000 wait exists "$MS_CAPTION" || fail "no window \"$MS_CAPTION\" within 30 s"
  wt wait text "$MS_CAPTION" $MS_VERSION "Ver 2.01 (9W)" || fail "window not initialised"
}

ms_heading() { wt text "$MS_CAPTION" $MS_HEADING; }
ms_advice() { wt text "$MS_CAPTION" $MS_ADVICE; }

# Waits until the window shows HEADING and ADVICE (MS ms, default 10 s).
ms_wait_state() {
  local heading=$1 advice=$2 ms=${3:-10000} what=${4:-}
  wt -t "$ms" wait text "$MS_CAPTION" $MS_HEADING "$heading" ||
    fail "${what:+$what: }heading '$(ms_heading)', want '$heading'"
  wt -t 3000 wait text "$MS_CAPTION" $MS_ADVICE "$advice" ||
    fail "${what:+$what: }advice '$(ms_advice)', want '$advice'"
}

ms_check_hidden() {
  wt visible "$MS_CAPTION"; check_eq "$1: window visible (0) or hidden (1)" $? 1
}

ms_show() {
  wt command "$MS_CAPTION" $MS_CMD_SHOW || fail "posting command 101"
  wt wait visible "$MS_CAPTION" || fail "not shown by command 101"
}

# The show command ends with a searching phase and then applies the state again, so the state
# seen after it is the one the monitor's current readings give: a checkpoint after events whose
# effect would otherwise only show at some later evaluation.
ms_show_and_expect() {
  local heading=$1 advice=$2 what=$3
  ms_show
  wt -t 5000 wait text "$MS_CAPTION" $MS_HEADING Searching || fail "$what: no searching display"
  ms_wait_state "$heading" "$advice" 10000 "$what"
}

# Sends WM_DEVICECHANGE with a device interface record; returns once the window has handled it.
ms_devchange() {
  wt devchange "$MS_CAPTION" "$1" "$2" >/dev/null || fail "WM_DEVICECHANGE $1 not delivered"
}

# A timeline of PROBE (a control id or "visible") in the background, into FILE, until the value
# has become UNTIL for the Nth time (the value at the start counts). Returns once the first line
# is there; the timeline's pid goes to ms_timeline_pid.
ms_timeline_start() {
  local file=$1 probe=$2 until=$3 nth=${4:-1} ms=${5:-25000}
  : >"$file"
  wt -t "$ms" timeline "$MS_CAPTION" "$probe" "$until" "$nth" >"$file" 2>&1 &
  ms_timeline_pid=$!
  e2e_poll 10000 test -s "$file" || fail "timeline of $probe did not start"
}

# Waits for the timeline PID writing FILE to reach its end value.
ms_timeline_end() {
  e2e_wait_exit "$1" 30000 || fail "timeline $2 still running"
  wait "$1" || { cat "$2"; fail "timeline $2 ended before its end value"; }
  cat "$2"
}

# The tick of the Nth line (default the first) with VALUE in a timeline file.
ms_tick_of() {
  tr -d '\r' <"$1" | V=$2 N=${3:-1} awk \
    '{ t = $1; v = substr($0, length($1) + 2); if (v == ENVIRON["V"] && ++k == ENVIRON["N"]) { print t; exit } }'
}

# Checks that LOW <= B - A <= HIGH (milliseconds).
ms_check_span() {
  local what=$1 a=$2 b=$3 low=$4 high=$5
  [ -n "$a" ] && [ -n "$b" ] || fail "$what: missing timeline points ($a, $b)"
  local span=$((b - a))
  echo "$what: $span ms"
  printf '%s: %d ms\n' "$what" "$span" >>"$ms_timings"
  [ "$span" -ge "$low" ] && [ "$span" -le "$high" ] ||
    fail "$what: $span ms, want $low to $high ms"
}

# The heading's colours: pure blue for "Ready" and "Printing", RGB (172, 168, 153) for every
# other heading. Counts the pixels of one colour in the heading control on the screen.
MS_BLUE='#0000FF' MS_GREY='#ACA899'
ms_heading_pixels() {
  [ -n "${ms_heading_rect:-}" ] || ms_heading_rect=$(wt rect "$MS_CAPTION" $MS_HEADING) ||
    fail "no rectangle of the heading"
  local x y w h
  read -r x y w h <<<"$(tr -d '\r' <<<"$ms_heading_rect")"
  import -display "$DISPLAY" -window root -crop "${w}x${h}+$x+$y" -depth 8 txt:- 2>/dev/null |
    grep -c " $1 "
}
ms_heading_drawn_in() {
  local want=$1 other=$2
  [ "$(ms_heading_pixels "$want")" -ge 10 ] && [ "$(ms_heading_pixels "$other")" -eq 0 ]
}
# Checks that the visible heading TEXT is drawn in COLOUR (blue or grey).
ms_check_heading_colour() {
  local colour=$1 text=$2 want=$MS_GREY other=$MS_BLUE
  [ "$colour" = blue ] && { want=$MS_BLUE; other=$MS_GREY; }
  check_eq "heading" "$(ms_heading)" "$text"
  e2e_poll 3000 ms_heading_drawn_in "$want" "$other" ||
    fail "heading '$text' not drawn in $colour: $(ms_heading_pixels "$MS_BLUE") blue and $(ms_heading_pixels "$MS_GREY") grey pixels"
}

# --- cases ---

# No queue of the model: nothing to evaluate. The show command tries the queue again; while it
# is missing no poller runs, so the searching display (the first thing an evaluation shows after
# the show command) never comes. Once the queue exists, the show command finds it.
monitor_status_no_queue() {
  ms_prepare
  ms_start
  ms_wait_state "No Printer Found" "Veltro LX90 VENDRA (ESC P) not installed."
  ms_check_hidden "no queue"
  ms_show
  # Three evaluations' worth of time: an evaluation would show "Searching" at once.
  wt -t 3500 wait text "$MS_CAPTION" $MS_HEADING Searching
  check_eq "searching display without a queue (2: never came)" $? 2
  ms_wait_state "No Printer Found" "Veltro LX90 VENDRA (ESC P) not installed." 1000 "after show"
  e2e_screenshot "$E2E_ARTIFACTS/monitor-status-no-printer-found.png" "$MS_CAPTION"

  ms_add_queue FILE:
  ms_show_and_expect Ready "$MS_READY_ADVICE" "queue created"
  monitor_running_ms || fail "the monitor ended"
}

monitor_running_ms() { kill -0 "${E2E_PID[monitor]}" 2>/dev/null; }

# A queue on a port that is neither parallel nor USB: ready while no job prints (state -1),
# which does not bring the window up.
ms_ready_on() {
  local port=$1
  ms_prepare
  ms_add_queue "$port"
  ms_start
  ms_wait_state Ready "$MS_READY_ADVICE" 10000 "$port"
  ms_check_hidden "$port, ready"
}
monitor_status_ready_on_file() { ms_ready_on FILE:; }
monitor_status_ready_on_com1() { ms_ready_on COM1:; }

# A queue on USB001. No USB printer is present at start-up (Wine has none): state 20, window not
# brought up. Then the printer's arrival and removal are played to the window.
monitor_status_usb_presence() {
  ms_prepare
  ms_add_queue USB001
  ms_start
  ms_wait_state "Communication Error" "$MS_USB_ADVICE" 10000 "USB, no printer at start-up"
  ms_check_hidden "USB, no printer"

  # Notifications that are not the printer's arrival: another unit of the model (another serial
  # number), another product, a query-remove and a remove-pending of the printer itself.
  ms_devchange arrival '\\\\?\\USB#VID_1C9F&PID_3A06#LX90_VENDRB#'"$MS_USB_CLASS"
  ms_devchange arrival '\\\\?\\USB#VID_1C9F&PID_3A07#LX90_VENDRA#'"$MS_USB_CLASS"
  ms_devchange 0x8001 "$MS_USB_PRINTER"
  ms_devchange 0x8003 "$MS_USB_PRINTER"
  ms_show_and_expect "Communication Error" "$MS_USB_ADVICE" "other devices' arrivals"
  ms_check_heading_colour grey "Communication Error"
  e2e_screenshot "$E2E_ARTIFACTS/monitor-status-usb-not-connected.png" "$MS_CAPTION"

  ms_devchange arrival "$MS_USB_PRINTER"
  ms_wait_state Ready "$MS_READY_ADVICE" 5000 "printer arrived"

  # While present: query-remove and remove-pending of the printer, removal of another unit.
  ms_devchange 0x8001 "$MS_USB_PRINTER"
  ms_devchange 0x8003 "$MS_USB_PRINTER"
  ms_devchange removal '\\\\?\\USB#VID_1C9F&PID_3A06#LX90_VENDRB#'"$MS_USB_CLASS"
  ms_show_and_expect Ready "$MS_READY_ADVICE" "printer present, other notifications"
  ms_check_heading_colour blue Ready
  e2e_screenshot "$E2E_ARTIFACTS/monitor-status-ready.png" "$MS_CAPTION"

  # Removal-complete of the printer, its name in other letter case: the name still matches.
  ms_devchange removal '\\\\?\\usb#vid_1c9f&pid_3a06#lx90_vendra#'"$MS_USB_CLASS"
  ms_wait_state "Communication Error" "$MS_USB_ADVICE" 5000 "printer removed"
}

# The window answers every WM_DEVICECHANGE with 0, whatever the event and the device.
monitor_status_device_change_result() {
  ms_prepare
  ms_add_queue USB001
  ms_start
  local event name result
  while read -r event name; do
    result=$(wt devchange "$MS_CAPTION" "$event" "$name") ||
      fail "WM_DEVICECHANGE $event not delivered"
    check_eq "WM_DEVICECHANGE $event $name: result" "$(tr -d '\r' <<<"$result")" 0
  done <<END
arrival $MS_USB_PRINTER
0x8001 $MS_USB_PRINTER
removal $MS_USB_PRINTER
arrival ${MS_USB_PRINTER/LX90_VENDRA/LX90_VENDRB}
0x0007 none
END
}

# A queue on LPT1: under Wine: the port's status register cannot be located (the device
# inventory has no parallel port), so the port is never read and every evaluation counts the
# idle fault; the eighth shows state 1000, which does not bring the window up.
monitor_status_lpt_without_register() {
  ms_prepare
  ms_add_queue LPT1:
  # Timelines from before the start: the version text is set at the end of the window's
  # initialisation, right after the poller has started; the poller's first message comes at once,
  # the eighth seven periods later.
  local versions="$E2E_CASE_DIR/version.timeline" headings="$E2E_CASE_DIR/headings.timeline"
  local vpid hpid
  ms_timeline_start "$versions" $MS_VERSION "Ver 2.01 (9W)" 1 30000; vpid=$ms_timeline_pid
  ms_timeline_start "$headings" $MS_HEADING "Communication Error" 1 40000; hpid=$ms_timeline_pid
  ms_start
  # The first evaluations apply nothing: the template's texts stay.
  check_eq "heading in the first evaluations" "$(ms_heading)" "Searching..."
  check_eq "advice in the first evaluations" "$(ms_advice)" "$MS_SEARCHING_ADVICE"
  ms_wait_state "Communication Error" "$MS_LPT_ADVICE" 25000 "LPT1:, no status register"
  ms_check_hidden "LPT1:, state 1000"
  ms_timeline_end $vpid "$versions"
  ms_timeline_end $hpid "$headings"
  ms_check_span "initialised until state 1000" "$(ms_tick_of "$versions" "Ver 2.01 (9W)")" \
    "$(ms_tick_of "$headings" "Communication Error")" 6400 7600
  monitor_running_ms || fail "the monitor ended"
}

# The queue paused (spooler status exactly PRINTER_STATUS_PAUSED): state 1 brings the window up.
# Paused together with another status bit is not state 1.
monitor_status_paused_queue() {
  ms_prepare
  ms_use_standin
  ms_add_queue FILE:
  ms_start
  ms_wait_state Ready "$MS_READY_ADVICE" 10000 "idle queue"
  ms_check_hidden "idle queue"

  standin_set_status "$MS_QUEUE" 1 || fail "stand-in status"
  wt -t 5000 wait visible "$MS_CAPTION" || fail "paused queue: window not brought up"
  ms_wait_state "Communication Error" "$MS_PAUSED_ADVICE" 3000 "paused queue"
  ms_check_heading_colour grey "Communication Error"
  e2e_screenshot "$E2E_ARTIFACTS/monitor-status-paused.png" "$MS_CAPTION"

  # A steady state is applied once: hidden by the user, the window stays hidden while the queue
  # stays paused (a window brought up again would come at the next evaluation).
  wt click "$MS_CAPTION" $MS_OK && wt wait hidden "$MS_CAPTION" || fail "Ok did not hide"
  wt -t 2500 wait visible "$MS_CAPTION"
  check_eq "brought up again by the same state (2: no)" $? 2

  standin_set_status "$MS_QUEUE" 0x81 || fail "stand-in status"   # paused + offline
  ms_wait_state Ready "$MS_READY_ADVICE" 5000 "paused and offline"
}

# A job printing (0x2010) on FILE:: "Printing", which does not bring the window up; after the
# window has been shown, the state comes again after the searching phase and the window hides
# itself on the state's fourth evaluation.
monitor_status_printing_auto_hide() {
  ms_prepare
  ms_use_standin
  ms_add_queue FILE:
  ms_start
  ms_wait_state Ready "$MS_READY_ADVICE" 10000 "idle queue"

  standin_set_jobs "$MS_QUEUE" 0x2010 || fail "stand-in jobs"
  ms_wait_state Printing "$MS_PRINTING_ADVICE" 5000 "job printing"
  ms_check_hidden "job printing, not shown"

  local headings="$E2E_CASE_DIR/headings.timeline" shown="$E2E_CASE_DIR/visible.timeline"
  local hpid vpid
  ms_heading_rect=$(wt rect "$MS_CAPTION" $MS_HEADING) || fail "no rectangle of the heading"
  ms_timeline_start "$headings" $MS_HEADING Printing 2; hpid=$ms_timeline_pid
  ms_timeline_start "$shown" visible hidden 2; vpid=$ms_timeline_pid
  wt command "$MS_CAPTION" $MS_CMD_SHOW || fail "posting command 101"
  wt -t 5000 wait text "$MS_CAPTION" $MS_HEADING Searching || fail "no searching after the show"
  wt -t 8000 wait text "$MS_CAPTION" $MS_HEADING Printing || fail "no Printing after the show"
  ms_check_heading_colour blue Printing
  e2e_screenshot "$E2E_ARTIFACTS/monitor-status-printing.png" "$MS_CAPTION"
  ms_timeline_end $hpid "$headings"
  ms_timeline_end $vpid "$shown"
  ms_check_span "Printing shown until the window hid itself" \
    "$(ms_tick_of "$headings" Printing 2)" "$(ms_tick_of "$shown" hidden 2)" 2500 3900
  ms_wait_state Printing "$MS_PRINTING_ADVICE" 1000 "after the auto-hide"

  # The job list decides by the first printing job with an error bit, else the last printing
  # job: a printing job with an error (0x12) brings the window up (state 18) ...
  standin_set_jobs "$MS_QUEUE" 0x2010 0x12 0x10 || fail "stand-in jobs"
  wt -t 5000 wait visible "$MS_CAPTION" || fail "printing job with an error: window not brought up"
  ms_wait_state "Communication Error" "$MS_JOB_ERROR_ADVICE" 3000 "printing job with an error"
  # ... and without one the last printing job counts.
  standin_set_jobs "$MS_QUEUE" 0x8 0x10 0x2010 || fail "stand-in jobs"
  ms_wait_state Printing "$MS_PRINTING_ADVICE" 5000 "last printing job"
}

# The queue moved to another port while the monitor runs: the next evaluation restarts the
# monitoring on the new port.
monitor_status_port_moved() {
  ms_prepare
  ms_add_queue FILE:
  ms_move_queue FILE:   # the spooler's record of the port, as Windows keeps it
  ms_start
  ms_wait_state Ready "$MS_READY_ADVICE" 10000 "on FILE:"
  ms_reg add "$MS_PORTS_KEY" /v USB001 /t REG_SZ /d "" /f || fail "adding port USB001"
  ms_move_queue USB001
  ms_wait_state "Communication Error" "$MS_USB_ADVICE" 5000 "moved to USB001"
  ms_move_queue COM1:
  ms_wait_state Ready "$MS_READY_ADVICE" 5000 "moved to COM1:"
}

# The show command: "Searching" for three evaluations, then the state again although it is the
# one shown before; that state (-1) leaves the window up.
monitor_status_searching_phase() {
  ms_prepare
  ms_add_queue FILE:
  ms_start
  ms_wait_state Ready "$MS_READY_ADVICE" 10000 "before the show"
  local headings="$E2E_CASE_DIR/headings.timeline"
  ms_timeline_start "$headings" $MS_HEADING Ready 2
  local pid=$ms_timeline_pid
  ms_show
  wt -t 5000 wait text "$MS_CAPTION" $MS_ADVICE "$MS_SEARCHING_ADVICE" ||
    fail "advice while searching: '$(ms_advice)'"
  ms_check_heading_colour grey Searching
  ms_timeline_end $pid "$headings"
  check_eq "headings" "$(tr -d '\r' <"$headings" | cut -d' ' -f2- | tr '\n' '|')" "Ready|Searching|Ready|"
  ms_check_span "searching display" "$(ms_tick_of "$headings" Searching)" \
    "$(ms_tick_of "$headings" Ready 2)" 2500 3900
  ms_check_heading_colour blue Ready
  ms_wait_state Ready "$MS_READY_ADVICE" 1000 "after the searching phase"
  # Ready without a parallel port (state -1) has no auto-hide: the window stays up past the
  # fourth evaluation, where the ready and printing states with auto-hide hide it.
  wt -t 4500 wait hidden "$MS_CAPTION"
  check_eq "hidden by itself in state -1 (2: no)" $? 2
}

# A hash of the screen's pixels in a 20x20 square with its top left corner at X,Y.
ms_pixels() {
  import -display "$DISPLAY" -window root -crop "20x20+$1+$2" rgb:- 2>/dev/null | md5sum
}
ms_tray_slot() { ms_pixels $((MS_TRAY_ICON_X - 10)) $((MS_TRAY_ICON_Y - 10)); }
ms_tray_neighbour() { ms_pixels $((MS_TRAY_ICON_X - 30)) $((MS_TRAY_ICON_Y - 10)); }
ms_icon_shown() { [ "$(ms_tray_slot)" != "$(ms_tray_neighbour)" ]; }
ms_icon_gone() { [ "$(ms_tray_slot)" = "$(ms_tray_neighbour)" ] && [ "$(ms_tray_neighbour)" = "$1" ]; }

# The tray icon: shown in the notification area; a double click shows the window; its menu's
# first item shows the window, its second (Exit) ends the program and removes the icon.
monitor_status_tray_icon() {
  ms_prepare
  ms_add_queue FILE:
  # The desktop (and its taskbar) ends with the last program of the session; a waiting wintest
  # keeps it up so that the notification area can be seen after the monitor has ended.
  wt -t 120000 wait exists "no such window: keeps the desktop" >/dev/null 2>&1 &
  ms_start
  ms_wait_state Ready "$MS_READY_ADVICE" 10000 "before the tray actions"
  e2e_poll 10000 ms_icon_shown || fail "no icon in the notification area's first slot"
  local taskbar; taskbar=$(ms_tray_neighbour)

  xdotool mousemove $MS_TRAY_ICON_X $MS_TRAY_ICON_Y click --repeat 2 --delay 80 1 ||
    fail "xdotool double click"
  wt -t 5000 wait visible "$MS_CAPTION" || fail "double click did not show the window"
  wt -t 5000 wait text "$MS_CAPTION" $MS_HEADING Searching || fail "double click: no searching"
  wt click "$MS_CAPTION" $MS_OK && wt wait hidden "$MS_CAPTION" || fail "Ok did not hide"

  xdotool mousemove $MS_TRAY_ICON_X $MS_TRAY_ICON_Y click 3 || fail "xdotool right click"
  wt -t 5000 wait menu || fail "right click: no menu"
  e2e_screenshot "$E2E_ARTIFACTS/monitor-status-tray-menu.png"
  wt menu-key 0x28 0x0D || fail "menu keys"                    # VK_DOWN, VK_RETURN: first item
  wt wait no-menu || fail "menu still open"
  wt -t 5000 wait visible "$MS_CAPTION" || fail "first menu item did not show the window"
  wt click "$MS_CAPTION" $MS_OK && wt wait hidden "$MS_CAPTION" || fail "Ok did not hide"

  local winpid; winpid=$(wt pid "$MS_CAPTION") || fail "no process id"
  xdotool mousemove $MS_TRAY_ICON_X $MS_TRAY_ICON_Y click 3 || fail "xdotool right click"
  wt -t 5000 wait menu || fail "right click: no menu"
  wt menu-key 0x28 0x28 0x0D || fail "menu keys"               # second item: Exit
  wt wait gone "$MS_CAPTION" || fail "window still there after Exit"
  wt wait process-gone "$winpid" || fail "process still there after Exit"
  e2e_wait_exit "${E2E_PID[monitor]}" 10000 || fail "the monitor did not end"
  e2e_poll 5000 ms_icon_gone "$taskbar" || fail "icon still in the notification area after Exit"
}

e2e_register monitor_status_no_queue monitor_status_no_queue
e2e_register monitor_status_ready_on_file monitor_status_ready_on_file
e2e_register monitor_status_ready_on_com1 monitor_status_ready_on_com1
e2e_register monitor_status_usb_presence monitor_status_usb_presence
e2e_register monitor_status_device_change_result monitor_status_device_change_result
e2e_register monitor_status_lpt_without_register monitor_status_lpt_without_register
e2e_register monitor_status_paused_queue monitor_status_paused_queue
e2e_register monitor_status_printing_auto_hide monitor_status_printing_auto_hide
e2e_register monitor_status_port_moved monitor_status_port_moved
e2e_register monitor_status_searching_phase monitor_status_searching_phase
e2e_register monitor_status_tray_icon monitor_status_tray_icon
