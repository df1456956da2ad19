# Reading screenshots of the wizard's window and driving it with real input,
# for the scripts that run the real program on an X server (the Linux build
# and the Windows build under Wine). Sourced; expects $work and $shots
# (folders), $window (the wizard's X window, once it is open), and fail() and
# step() from the script.

# Starts a private X server on the first free display and points DISPLAY at
# it; its process id goes to $xvfb_pid, for the script's clean-up.
start_private_display() {
    # -noreset: the server resets when its last client leaves (a killed
    # wizard, each xdotool search), and a program connecting meanwhile is
    # refused.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 300); do [[ -s $work/display ]] && break; sleep 0.1; done
    [[ -s $work/display ]] || fail "Xvfb did not start"
    export DISPLAY=:$(head -n1 "$work/display")
}

# Prints the first window whose title matches the pattern, searching again
# until the time limit (seconds) whatever one search ends with: windows come
# and go while xdotool walks the tree (Wine makes and drops windows of its
# own), and one that vanishes mid-walk ends that search with an X error
# (BadWindow), not with "not found".
find_window() { # seconds pattern
    local deadline=$((SECONDS + $1)) found
    while :; do
        found=$(timeout 10 xdotool search --limit 1 --name "$2" 2>/dev/null) || true
        if [[ -n $found ]]; then
            echo "${found%%$'\n'*}"
            return 0
        fi
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

shot() { import -window "$window" "$shots/$1.png"; }
# The colour of one pixel of a screenshot, as "r,g,b".
pixel() {
    convert "$shots/$1.png" -crop "1x1+$2+$3" -depth 8 \
        -format '%[fx:int(255*r+.5)],%[fx:int(255*g+.5)],%[fx:int(255*b+.5)]' info:
}
# Counts the pixels of a colour in a rectangle of a screenshot.
count_colour() { # name x y w h r,g,b
    convert "$shots/$1.png" -crop "$4x$5+$2+$3" -depth 8 txt:- | grep -c "($6)" || true
}
# Where a colour first shows in a row of a screenshot.
first_x() { # name x y w r,g,b
    convert "$shots/$1.png" -crop "$4x1+$2+$3" -depth 8 txt:- |
        awk -F'[,:]' -v c="($5)" 'index($0, c) && !found { print $1; found = 1 }'
}
# Whether a rectangle of a screenshot holds any dark (text) pixels.
has_text() { # name x y w h
    local dark
    dark=$(convert "$shots/$1.png" -crop "$4x$5+$2+$3" -colorspace Gray -threshold 50% -format '%[fx:1-mean]' info:)
    awk -v d="$dark" 'BEGIN { exit !(d > 0.001) }'
}
# A click, then time for the window to answer it (CLICK_PAUSE seconds).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${CLICK_PAUSE:-0.3}"; }

next=(356 348)
option_newer=(50 256)  # "Microsoft Pocket PC Version 4.0.0 or higher."
option_earlier=(274 248) # "Earlier Microsoft Pocket PC Version."

# Checks the window's title and size, then walks from the welcome page to the
# ready page with a screenshot of each, choosing the platform option at x y.
walk_to_ready_page() { # x y
    [[ $(xdotool getwindowname "$window") == "Torvex Setup" ]] || fail "window title"
    local size
    size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [[ $size == "488x373" ]] || fail "client size is $size, not 488x373"

    step "welcome page"
    shot 1-welcome
    # The artwork shows in colour; the welcome text is there.
    [[ $(pixel 1-welcome 60 150) != "$(pixel 1-welcome 300 60)" ]] || fail "welcome picture missing"
    has_text 1-welcome 240 86 190 40 || fail "welcome text missing"

    step "licence page"
    click "${next[@]}"
    shot 2-licence
    has_text 2-licence 30 45 400 100 || fail "licence text missing"
    click 48 296           # "I agree"
    click "${next[@]}"

    step "platform page"
    shot 3-platform
    has_text 3-platform 40 40 380 20 || fail "platform page text missing"
    click "$1" "$2"
    click "${next[@]}"

    step "ready page"
    shot 4-ready
    has_text 4-ready 56 80 200 14 || fail "ready texts missing"
}
