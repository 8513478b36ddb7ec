#!/usr/bin/env bash
# The dock's own task bar against a stand-in for the system task bar (probe_target --shell: a
# "Shell_TrayWnd" 30 pixels high along the bottom, its "TrayNotifyWnd" child at x 900 on a screen
# 1024 wide), on the real program, label style with the notification area shown: the system task
# bar hides and its notification area moves into the task bar form; seven windows get buttons at
# the places of the layout; a title change relabels; a click activates, minimises and restores;
# a closed window's button goes; Ctrl+click on a notepad with unsaved text leaves the dock
# polling; "Minimize all windows"; the settings survive a restart, where a window whose program
# has stopped answering holds nothing up; the system task bar comes back after a normal close
# and, after a kill, at the next start.
set -u
source "$(dirname "$0")/lib.sh"

QL_TARGET=${QL_TARGET:-$(dirname "$QL_PROBE")/probe_target.exe}
SHELL_TITLE=QlShellTray

# The stand-in comes first: the dock takes the first "Shell_TrayWnd" in z-order, and Wine's own
# desktop process may keep a hidden, untitled one that was made before it.
wine "$QL_TARGET" --shell </dev/null >/dev/null 2>&1 &
track_pid $!
if ! probe wait "$SHELL_TITLE" 15000 >/dev/null; then
  check "the stand-in task bar starts" false
  finish
fi
check_eq "the first \"Shell_TrayWnd\" is the stand-in's" "$SHELL_TITLE" "$(probe findclass Shell_TrayWnd)"

reset_store
set_sz TaskBar 1
set_sz TaskSmallStyle 1
set_sz TaskShowTray 1

app() {  # $1 title: an application window whose title WM_APP changes to "$1 renamed"
  wine "$QL_TARGET" --app "$1" "$1 renamed" </dev/null >/dev/null 2>&1 &
  track_pid $!
  probe wait "$1" 15000 >/dev/null
}
# Until `probe tasks` has a line for title $1 (or, with $2 = gone, none), for at most 10 s.
button_of() { probe tasks | awk -F'\t' -v t="$1" '$2 == t { print $1 }'; }
button_becomes() {
  local i
  for i in $(seq 1 50); do
    if [ "${2:-}" = gone ]; then
      [ -z "$(button_of "$1")" ] && return 0
    else
      [ -n "$(button_of "$1")" ] && return 0
    fi
    sleep 0.2
  done
  return 1
}
click_button() {  # $1 title, then xdotool's modifier keys to hold
  local x y w h
  read -r x y w h <<<"$(button_of "$1")"
  [ -n "$x" ] || return 1
  xdotool mousemove $((x + w / 2)) $((y + h / 2))
  shift
  if [ $# -gt 0 ]; then
    xdotool keydown "$@" click 1 keyup "$@"
  else
    xdotool click 1
  fi
}
until_is() {  # $1 expected, then a command whose output is compared, for at most 10 s
  local expected=$1 i
  shift
  for i in $(seq 1 50); do
    [ "$("$@")" = "$expected" ] && return 0
    sleep 0.2
  done
  return 1
}
eventually() {  # the command succeeds within 10 s
  local i
  for i in $(seq 1 50); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}
quietly() { "$@" >/dev/null; }  # the command, without its output
tray_parent_ok() {  # the notification area is a child of the window titled $1
  probe children "$1" | grep -q '^TrayNotifyWnd '
}

if ! start_dock; then
  check "the dock starts with its task bar" false
  finish
fi

check "the system task bar is hidden" visible_becomes "$SHELL_TITLE" 0
check "the notification area sits in the task bar form" tray_parent_ok TaskBar
check_eq "the task bar form shows" 1 "$(probe visible TaskBar)"
# The form's top is the notification area's, which keeps its place on the screen.
check_eq "the notification area keeps its place" "0 743 1024 768|TrayNotifyWnd 900 0 120 20" \
  "$(probe rect TaskBar)|$(probe children TaskBar | grep '^TrayNotifyWnd ')"

wine notepad </dev/null >/dev/null 2>&1 &
track_pid $!
probe wait "Untitled - Notepad" 15000 >/dev/null
for i in 1 2 3 4 5 6; do app "App $i"; done
layout() { probe tasks | cut -f1 | sort -n -k2,2 -k1,1 | tr '\n' ' '; }
# Six 130-pixel buttons fit left of the notification area at x 900; the seventh wraps.
check "seven windows get buttons at the places of the layout" until_is \
  "0 728 130 20 0 748 130 20 130 748 130 20 260 748 130 20 390 748 130 20 520 748 130 20 650 748 130 20 " layout
titled() { probe tasks | cut -f2 | sort | tr '\n' '|'; }
check "each window has its button" until_is "App 1|App 2|App 3|App 4|App 5|App 6|Untitled - Notepad|" titled

place=$(button_of "App 1")
probe post "App 1" 32768 >/dev/null
check "a title change relabels the button in its place" until_is "$place" button_of "App 1 renamed"

click_button "App 2"
check "a click activates the window" until_is "App 2" probe foreground
sleep 0.3  # a poll tick: the button shows the window as the foreground one
click_button "App 2"
check "a click on the foreground window's button minimises it" until_is 1 probe iconic "App 2"
sleep 0.3
click_button "App 2"
check "a click on a minimised window's button restores it" until_is 0 probe iconic "App 2"
check "... and activates it" until_is "App 2" probe foreground

place=$(button_of "App 3")
probe close "App 3" >/dev/null
check "a closed window's button goes" button_becomes "App 3" gone
app "App 7"
check "the following window takes the free place" until_is "$place" button_of "App 7"

# Unsaved text (an "x" typed into its edit box): notepad answers the close with "Save changes?".
probe postchild "Untitled - Notepad" Edit 258 120 >/dev/null
click_button "Untitled - Notepad" ctrl
if probe wait Notepad 8000 >/dev/null; then
  check "Ctrl+click: the dock answers while notepad asks" quietly probe answers Quaylite 3000
  check "... and the task bar too" quietly probe answers TaskBar 3000
  # A dock waiting on notepad would still answer a sent message, but its poll would stop.
  app "App 9"
  check "... and a new window gets its button meanwhile" button_becomes "App 9"
  check "... and notepad keeps its button" button_becomes "Untitled - Notepad"
  probe close Notepad >/dev/null
else
  check "Ctrl+click asks notepad to close (its \"Save changes?\" shows)" false
fi

# The task bar's menu on a button: its first entry.
read -r x y w h <<<"$(button_of "App 5")"
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
if probe menu 5000 >/dev/null; then
  xdotool key Down Return
  all_iconic() {
    local t
    for t in "App 1 renamed" "App 2" "App 5" "App 6" "App 7"; do
      [ "$(probe iconic "$t")" = 1 ] || return 1
    done
  }
  check "\"Minimize all windows\" minimises every window with a button" eventually all_iconic
else
  check "a right click on a button opens the task bar's menu" false
fi

close_dock
check "after a close the system task bar shows" visible_becomes "$SHELL_TITLE" 1
check "... with its notification area back" tray_parent_ok "$SHELL_TITLE"
check_eq "... in its place" "TrayNotifyWnd 900 5 120 20" "$(probe children "$SHELL_TITLE")"
check_eq "the task bar's settings stay in the store" "1 1 1" "$(value TaskBar) $(value TaskSmallStyle) $(value TaskShowTray)"

# A program that stops answering for 30 s as soon as its window shows, before the dock starts:
# the dock asks each window for its icon as it makes its button.
wine "$QL_TARGET" --app Hung "Hung renamed" 30000 </dev/null >/dev/null 2>&1 &
track_pid $!
probe wait Hung 15000 >/dev/null
if start_dock; then
  check "after a restart the system task bar is hidden again" visible_becomes "$SHELL_TITLE" 0
  size_of() { button_of "App 6" | cut -d' ' -f3,4; }
  check "... and the windows have label buttons" until_is "130 20" size_of
  check "... also the window that does not answer" button_becomes Hung
  check "... and the dock answers" quietly probe answers Quaylite 3000
  kill_dock
  check_eq "a killed dock leaves the system task bar hidden" 0 "$(probe visible "$SHELL_TITLE")"
  # Started without its task bar, the dock only puts the system's back.
  set_sz TaskBar 0
  if start_dock; then
    check "at the start after a kill the system task bar shows" visible_becomes "$SHELL_TITLE" 1
    # Under Wine the killed dock's task bar form takes the borrowed notification area down with
    # it (the stand-in has no child left), so there is nothing to give back.
    skip "... with its notification area back" "the kill destroyed it with the dock's form"
    close_dock
  else
    check "the dock starts after a kill" false
  fi
else
  check "the dock starts again" false
fi
finish
