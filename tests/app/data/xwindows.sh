# SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What the real-window tests wait for, shared by their scripts (which source it with "."). Each
# wait polls for what the next step needs to see, for as long as a busy machine takes, up to a
# bound in seconds that ends a run that hangs; it fails (status 1) when the bound passes.

# Runs "$@" until it succeeds, at most $1 seconds; says so on standard error when it never did.
wait_until() {
    _until=$(($(date +%s) + $1))
    shift
    until "$@"; do
        if [ "$(date +%s)" -ge "$_until" ]; then
            echo "NOT SEEN: $*" >&2
            return 1
        fi
        sleep 0.05
    done
}

_display_answers() {
    xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
}

# A client that connects right after xvfb-run has started the server is at times turned away on a
# busy machine: the window manager and the program start once the display answers.
wait_for_display() {
    wait_until 60 _display_answers
}

_window_manager_there() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# The window manager hands out the keyboard and frames the windows: programs start once it is there.
wait_for_window_manager() {
    wait_until 60 _window_manager_there
}

_visible() {
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$found" ]
}

# Waits for a mapped window whose title matches the pattern $1, at most $2 seconds (60); its id is
# left in $found.
find_window() {
    wait_until "${2:-60}" _visible "$1"
}

_gone() {
    [ -z "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)" ]
}

# Waits until no mapped window's title matches the pattern $1 (a dialog answered and closed); $found
# stays as it was.
wait_gone() {
    wait_until "${2:-60}" _gone "$1"
}

_active() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

_activated() {
    xdotool windowactivate "$1" 2>/dev/null
    wait_until 2 _active "$1"
}

# Waits until window $1 has the keyboard, asking the window manager again while it has not.
activate() {
    wait_until 60 _activated "$1"
}

# The time of the last key or click that window $1 took in (Qt records it for the window manager
# as the window's _NET_WM_USER_TIME); empty before the first, "gone" once the window is (a dialog
# that a key closed).
user_time() {
    _property=$(xprop -id "$1" _NET_WM_USER_TIME 2>/dev/null) || {
        echo gone
        return 0
    }
    printf '%s\n' "$_property" | sed -n 's/.* = //p'
}

_user_time_not() {
    [ "$(user_time "$1")" != "$2" ]
}

# Presses the keys "$@" (as `xdotool key` names them) in the active window $1 and waits until the
# program has taken them in.
press() {
    _window=$1
    shift
    for _key in "$@"; do
        _before=$(user_time "$_window")
        xdotool key "$_key"
        wait_until 30 _user_time_not "$_window" "$_before" || return 1
    done
}
