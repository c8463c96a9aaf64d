#!/usr/bin/env bash
# Takes the README's pictures of the whole window: each program runs under a display of its own, with
# a private home and settings in a temporary folder, is driven by keyboard with xdotool and pictured
# with ImageMagick.
#
#   tools/window-shots.sh BUILD_DIR OUT_DIR [NAME...]
#
# NAMEs (default: all): table-trick table-2x table-large help options-menu table-join-failed
# table-reconnecting tally-list. Needs Xvfb, xdotool and ImageMagick. Every program talks only to
# 127.0.0.1 and announces nothing. A state that never comes ends the script with status 1, naming it.
set -euo pipefail

ALL=(table-trick table-2x table-large help options-menu table-join-failed table-reconnecting tally-list)
if [[ $# -lt 2 ]]; then
    echo "usage: $0 BUILD_DIR OUT_DIR [NAME...]   (NAMEs: ${ALL[*]})" >&2
    exit 2
fi
BUILD=$(cd "$1" && pwd)
mkdir -p "$2"
OUT=$(cd "$2" && pwd)
shift 2
NAMES=("$@")
[[ ${#NAMES[@]} -gt 0 ]] || NAMES=("${ALL[@]}")
for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing" >&2; exit 2; }
done
[[ -x $BUILD/morlu ]] || { echo "$0: no $BUILD/morlu (build the morlu target first)" >&2; exit 2; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/window-shots.XXXXXX")
PIDS=()
XVFB_PID=

# Stops the programs this script started, newest first, then the display.
stop_all() {
    local i
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        kill "${PIDS[i]}" 2>/dev/null || true
    done
    for pid in "${PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    PIDS=()
}
cleanup() {
    stop_all
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null
    [[ -n ${KEEP_WORK:-} ]] && echo "work folder kept: $WORK" >&2 || rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "$0: $CURRENT: $*" >&2
    [[ -n $XVFB_PID ]] && import -window root "$WORK/failed-$CURRENT.png" 2>/dev/null &&
        echo "$0: the screen then: $WORK/failed-$CURRENT.png (KEEP_WORK=1 keeps it)" >&2
    exit 1
}

# A display of our own: the first free number from 90 on.
start_display() {
    local n
    for ((n = 90; n < 140; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1920x1400x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB_PID=$!
        local tries
        for ((tries = 0; tries < 50; tries++)); do
            if [[ -e /tmp/.X11-unix/X$n ]] && DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return
            fi
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    done
    echo "$0: no display could be started" >&2
    exit 1
}

# A free TCP port on the loopback.
free_port() {
    local port
    for ((tries = 0; tries < 50; tries++)); do
        port=$((20000 + RANDOM % 20000))
        ss -Hltn "sport = :$port" | grep -q . || { echo "$port"; return; }
    done
    echo "$0: no free port" >&2
    exit 1
}

# run_table NAME [VAR=VALUE...] -- ARGS...: starts a copy of the program in a folder of its own, so its
# settings and tally (kept beside the program) and its single-instance guard are private. Fast computer
# players, no offer of Host Game and Join Game at a solo start.
run_table() {
    local name=$1 dir="$WORK/$1"
    shift
    local vars=()
    while [[ $1 != -- ]]; do vars+=("$1"); shift; done
    shift
    mkdir -p "$dir/bin" "$dir/home" "$dir/run"
    chmod 700 "$dir/run"
    cp "$BUILD/morlu" "$dir/bin/morlu"
    printf "[Morlu]\nShowDownload=false\nBotspeed=500\n" >"$dir/bin/kavrinlobby.ini"
    (cd "$dir" && exec env HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" \
        XDG_DATA_HOME="$dir/home/.local/share" XDG_RUNTIME_DIR="$dir/run" "${vars[@]}" \
        "$dir/bin/morlu" "$@" >"$dir/log" 2>&1) &
    PIDS+=($!)
    LAST_PID=$!
}

# wait_window TITLE [PID]: waits for a window whose whole title is TITLE (an extended regex), of the
# program PID if given, and puts its id in WIN.
wait_window() {
    local tries match=(--name "^($1)\$")
    [[ -n ${2:-} ]] && match=(--all --pid "$2" "${match[@]}")
    for ((tries = 0; tries < 100; tries++)); do
        WIN=$(xdotool search --onlyvisible "${match[@]}" 2>/dev/null | head -1) || true
        [[ -n $WIN ]] && return
        sleep 0.2
    done
    fail "no window \"$1\" after 20 s"
}

# wait_dialog WINDOW WHAT: waits for another window of a fair size (a message box, say) of the same
# program as WINDOW.
wait_dialog() {
    local tries w pid WIDTH HEIGHT X Y SCREEN WINDOW
    pid=$(xdotool getwindowpid "$1")
    for ((tries = 0; tries < 100; tries++)); do
        for w in $(xdotool search --all --onlyvisible --pid "$pid" --name . 2>/dev/null); do
            [[ $w == "$1" ]] && continue
            eval "$(xdotool getwindowgeometry --shell "$w")"
            ((WIDTH > 50 && HEIGHT > 50)) && return
        done
        sleep 0.2
    done
    fail "no $2 after 20 s"
}

# Clicks the board of a table window (halfway across, a quarter down, at any size) so that it has
# the keyboard.
focus_window() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $((WIDTH / 2)) $((HEIGHT / 4)) click 1
    sleep 0.3
}

keys() {
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.3
    done
}

# settle WINDOW WHAT [SECONDS]: waits until the window has not changed for three seconds: the computer
# players have moved and wait for the player. That holds with fast computer players (a move every half
# second) and a host without pauses (--pause-tick-ms 0), which would otherwise show each full trick
# for three seconds.
settle() {
    local last= now same=0 tries
    for ((tries = 0; tries < ${3:-30} * 4; tries++)); do
        now=$(window_sum "$1")
        if [[ $now == "$last" ]]; then
            ((++same >= 12)) && return
        else
            same=0
            last=$now
        fi
        sleep 0.25
    done
    fail "the window never settled ($2)"
}

# A fingerprint of what a window shows.
window_sum() {
    import -window "$1" rgb:- | md5sum
    [[ ${PIPESTATUS[0]} -eq 0 ]] || fail "no picture of window $1"
}

# wait_change WINDOW BEFORE WHAT: waits until the window's fingerprint differs from BEFORE.
wait_change() {
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        [[ $(window_sum "$1") != "$2" ]] && return
        sleep 0.2
    done
    fail "the window never showed $3"
}

# shot WINDOW FILE: the screen cut to the window, so that its open menus and message boxes (windows of
# their own) are in the picture; no metadata.
shot() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root "$WORK/shot.png" || fail "no picture of the screen"
    convert "$WORK/shot.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$OUT/$2.png"
    echo "$OUT/$2.png: ${WIDTH}x${HEIGHT}"
}

# A solo game with repeatable deals and no pauses, its board clicked; TABLE is its window.
solo_table() {
    run_table You "$@" -- --seed 7 --pause-tick-ms 0
    wait_window 'Morlu - solo game'
    TABLE=$WIN
    focus_window "$TABLE"
}

# The first contract of a seeded full game (the player directs, MORLU), first trick: the player leads
# the 7 of clubs, Klock takes the trick and leads diamonds; on the player's turn the cards that do not
# follow are dimmed, and Left rings the 10 of diamonds.
trick() {
    solo_table "$@"
    keys ctrl+n Return
    settle "$TABLE" "the contract chooser"
    keys 1
    settle "$TABLE" "the player's lead"
    keys 3
    settle "$TABLE" "the player's turn in the second trick"
    keys Left
    sleep 0.5
}

shot_table_trick() {
    trick
    shot "$TABLE" table-trick
}

shot_table_2x() {
    trick QT_SCALE_FACTOR=2
    shot "$TABLE" table-2x
}

# A larger window, the first contract DOMINO: after the player's 9 of diamonds and one card from the
# others, the cards that fit the layout stand out.
shot_table_large() {
    solo_table
    xdotool windowsize "$TABLE" 1500 1060
    sleep 0.5
    focus_window "$TABLE"
    keys ctrl+n Return
    settle "$TABLE" "the contract chooser"
    keys 6
    settle "$TABLE" "the player's first DOMINO card"
    keys 1
    settle "$TABLE" "the player's second DOMINO turn"
    shot "$TABLE" table-large
}

shot_help() {
    solo_table
    keys F1
    wait_window 'Morlu - Help'
    sleep 0.5
    shot "$WIN" help
}

# The Options menu open at Computer Players, before the game starts.
shot_options_menu() {
    solo_table
    keys alt+o Down Down Down Down Right
    sleep 0.5
    shot "$TABLE" options-menu
}

# A join on a port where nobody listens: the table asks Retry, Change Address or Quit.
shot_table_join_failed() {
    run_table Me -- Me 127.0.0.1 false --port "$(free_port)"
    wait_window 'Morlu - game at 127.0.0.1'
    TABLE=$WIN
    wait_dialog "$TABLE" "message box saying the join failed"
    sleep 0.5
    shot "$TABLE" table-join-failed
}

# Bea joins a dedicated host and starts a game; when she has chosen the contract the host dies without
# a word, and her table says it is coming back.
shot_table_reconnecting() {
    local port
    port=$(free_port)
    run_table host -- --server --port "$port" --no-announce --seed 7 --pause-tick-ms 0
    local host=$LAST_PID
    run_table Bea -- Bea 127.0.0.1 false --port "$port"
    wait_window 'Morlu - .*game at 127\.0\.0\.1'
    TABLE=$WIN
    focus_window "$TABLE"
    keys ctrl+n Return
    settle "$TABLE" "the contract chooser"
    keys 1
    settle "$TABLE" "Bea's lead"
    local before
    before=$(window_sum "$TABLE")
    kill -KILL "$host"
    wait "$host" 2>/dev/null || true
    wait_change "$TABLE" "$before" "the lost connection"
    settle "$TABLE" "the lost connection"
    shot "$TABLE" table-reconnecting
}

# Me, Ann and Bob join a dedicated host (Me first, so Me holds slot 1 and starts the games; the
# computer Kling takes seat 4). Me follows Ann and Bob in the tally; two short games are played with
# every seat left to the computer (Just Watch, asked anew each game); then Me's tally shows Ann's record.
shot_tally_list() {
    local port name
    port=$(free_port)
    run_table host -- --server --port "$port" --no-announce --seed "${TALLY_SEED:-7}" --pause-tick-ms 0
    local -A window
    for name in Me Ann Bob; do
        run_table "$name" -- "$name" 127.0.0.1 false --port "$port"
        wait_window "Morlu - Me's game at 127\.0\.0\.1" "$LAST_PID"
        window[$name]=$WIN
        settle "$WIN" "$name's table joining"
    done
    # Ann's and Bob's tables out of the way of Me's.
    xdotool windowmove "${window[Ann]}" 900 0
    xdotool windowmove "${window[Bob]}" 900 700
    TABLE=${window[Me]}
    focus_window "$TABLE"
    keys alt+v Return
    wait_dialog "$TABLE" "Tally List"
    keys Tab space Down space Escape
    local game
    for game in 1 2; do
        focus_window "$TABLE"
        keys ctrl+n
        wait_dialog "$TABLE" "game length dialog"
        keys s Return
        sleep 1
        for name in Me Ann Bob; do
            focus_window "${window[$name]}"
            keys alt+o Up Return
        done
        settle "$TABLE" "the end of game $game" 600
    done
    focus_window "$TABLE"
    keys alt+v Return
    wait_dialog "$TABLE" "Tally List"
    keys shift+Tab End Home
    sleep 0.5
    shot "$TABLE" tally-list
}

start_display
for CURRENT in "${NAMES[@]}"; do
    case $CURRENT in
    table-trick | table-2x | table-large | help | options-menu | table-join-failed | table-reconnecting | tally-list)
        "shot_${CURRENT//-/_}"
        stop_all
        ;;
    *) fail "no such picture (${ALL[*]})" ;;
    esac
done
