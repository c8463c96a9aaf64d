#!/usr/bin/env bash
# Takes the README's pictures of the whole window (see tools/README.md):
#   tools/window-shots.sh BUILD_DIR OUT_DIR [NAME...]
# Each picture gets programs of its own under a display of its own, with private settings, driven by
# keyboard with xdotool and pictured with ImageMagick. A state that never comes ends it with status 1.
set -euo pipefail

ALL=(table-trick table-2x table-large help options-menu table-join-failed table-reconnecting tally-list)
if [[ $# -lt 2 ]]; then
    echo "usage: $0 BUILD_DIR OUT_DIR [NAME...]   (NAMEs: ${ALL[*]})" >&2
    exit 2
fi
for name in "${@:3}"; do
    [[ " ${ALL[*]} " == *" $name "* ]] || { echo "$0: no picture $name (${ALL[*]})" >&2; exit 2; }
done
for tool in xvfb-run xdotool import convert ss "$1/morlu"; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing" >&2; exit 2; }
done
# Everything below runs under a display of its own, large enough for the window twice as large.
if [[ -z ${WINDOW_SHOTS_DISPLAY:-} ]]; then
    exec env WINDOW_SHOTS_DISPLAY=1 xvfb-run -a -s '-screen 0 1920x1400x24' "$0" "$@"
fi

BUILD=$(cd "$1" && pwd)
mkdir -p "$2"
OUT=$(cd "$2" && pwd)
shift 2
NAMES=("$@")
[[ $# -gt 0 ]] || NAMES=("${ALL[@]}")
WORK=$(mktemp -d "${TMPDIR:-/tmp}/window-shots.XXXXXX")
CURRENT=setup
PIDS=()

# Stops the programs started for one picture, newest first.
stop_all() {
    local i
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        kill "${PIDS[i]}" 2>/dev/null || true
        wait "${PIDS[i]}" 2>/dev/null || true
    done
    PIDS=()
}
cleanup() {
    stop_all
    if [[ -n ${KEEP_WORK:-} ]]; then echo "work folder kept: $WORK" >&2; else rm -rf "$WORK"; fi
}
trap cleanup EXIT

fail() {
    echo "$0: $CURRENT: $*" >&2
    import -window root "$WORK/failed-$CURRENT.png" 2>/dev/null &&
        echo "$0: the screen then: $WORK/failed-$CURRENT.png (kept with KEEP_WORK=1)" >&2
    exit 1
}

free_port() {
    local port tries
    for ((tries = 0; tries < 50; tries++)); do
        port=$((20000 + RANDOM % 20000))
        ss -Hltn "sport = :$port" | grep -q . || { echo "$port"; return; }
    done
    fail "no free port"
}

# run_table NAME [VAR=VALUE...] -- ARGS...: starts a copy of the program in a folder of its own, so its
# settings and tally (kept beside the program) and its single-instance guard are private; LAST_PID is
# its process. Fast computer players, and no offer of Host Game and Join Game at a solo start.
run_table() {
    local dir="$WORK/$1" vars=()
    shift
    while [[ $1 != -- ]]; do vars+=("$1"); shift; done
    shift
    mkdir -p "$dir/bin" "$dir/home" "$dir/run"
    chmod 700 "$dir/run"
    cp "$BUILD/morlu" "$dir/bin/morlu"
    printf '[Morlu]\nShowDownload=false\nBotspeed=500\n' >"$dir/bin/kavrinlobby.ini"
    (cd "$dir" && exec env HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" \
        XDG_DATA_HOME="$dir/home/.local/share" XDG_RUNTIME_DIR="$dir/run" "${vars[@]}" \
        "$dir/bin/morlu" "$@" >"$dir/log" 2>&1) &
    LAST_PID=$!
    PIDS+=("$LAST_PID")
}

# poll SECONDS WHAT COMMAND...: runs COMMAND every fifth of a second until it succeeds.
poll() {
    local seconds=$1 what=$2 tries
    shift 2
    for ((tries = 0; tries < seconds * 5; tries++)); do
        "$@" && return
        sleep 0.2
    done
    fail "no $what after $seconds s"
}

# find_window XDOTOOL-SEARCH-ARGS...: puts the first visible window found in WIN.
find_window() {
    WIN=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -1) || true
    [[ -n $WIN ]]
}

# find_dialog WINDOW: another window of a fair size (a dialog, a message box) of WINDOW's program.
find_dialog() {
    local w X Y WIDTH HEIGHT
    for w in $(xdotool search --all --onlyvisible --pid "$(xdotool getwindowpid "$1")" --name .); do
        geometry "$w"
        [[ $w != "$1" ]] && ((WIDTH > 50 && HEIGHT > 50)) && return
    done
    return 1
}

# geometry WINDOW: sets X, Y, WIDTH and HEIGHT (the caller's, when it declares them local).
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
}

# Clicks the board of a table window (halfway across, a quarter down, at any size) so that it has
# the keyboard.
focus_window() {
    local X Y WIDTH HEIGHT
    geometry "$1"
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

# A fingerprint of what a window shows, and whether it shows something else now.
window_sum() {
    import -window "$1" rgb:- | md5sum
    [[ ${PIPESTATUS[0]} -eq 0 ]] || fail "no picture of window $1"
}
changed() { [[ $(window_sum "$1") != "$2" ]]; }

# settle WINDOW WHAT [SECONDS]: waits until the window has not changed for three seconds, that is until
# the computer players wait for the player. That holds with fast computer players (a move every half
# second) and a host without pauses (--pause-tick-ms 0; else each full trick stays three seconds).
settle() {
    local last='' now same=0 tries
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
    fail "the window never settled: $2"
}

# shot WINDOW FILE: the screen cut to the window, so that its open menus and message boxes (windows of
# their own) are in the picture; no metadata.
shot() {
    local X Y WIDTH HEIGHT
    geometry "$1"
    import -window root "$WORK/shot.png" || fail "no picture of the screen"
    convert "$WORK/shot.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$OUT/$2.png"
    echo "$OUT/$2.png: ${WIDTH}x${HEIGHT}"
}

# A solo game with repeatable deals and no pauses, its board clicked; TABLE is its window.
solo_table() {
    run_table You "$@" -- --seed 7 --pause-tick-ms 0
    poll 20 "solo table" find_window --name '^Morlu - solo game$'
    TABLE=$WIN
    focus_window "$TABLE"
}

# trick NAME [VAR=VALUE...]: the first contract of a full game (the player directs: MORLU). The player
# leads the 7 of clubs, Klock takes the trick and leads diamonds; on the player's turn the cards that do
# not follow are dimmed, and Left rings the 10 of diamonds.
trick() {
    solo_table "${@:2}"
    keys ctrl+n Return
    settle "$TABLE" "the contract chooser"
    keys 1
    settle "$TABLE" "the player's lead"
    keys 3
    settle "$TABLE" "the player's turn in the second trick"
    keys Left
    sleep 0.5
    shot "$TABLE" "$1"
}
shot_table_trick() { trick table-trick; }
shot_table_2x() { trick table-2x QT_SCALE_FACTOR=2; }

# A larger window, the first contract DOMINO: after the player's 9 of diamonds and a card from the
# others, the cards that fit the layout stand out.
shot_table_large() {
    solo_table
    xdotool windowsize "$TABLE" 1500 1060
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
    poll 20 "help window" find_window --name '^Morlu - Help$'
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
    poll 20 "joining table" find_window --name '^Morlu - game at 127\.0\.0\.1$'
    TABLE=$WIN
    poll 20 "message box saying the join failed" find_dialog "$TABLE"
    sleep 0.5
    shot "$TABLE" table-join-failed
}

# Bea joins a dedicated host and starts a game; once she has chosen the contract the host dies without
# a word, and her table says it is coming back.
shot_table_reconnecting() {
    local port host before
    port=$(free_port)
    run_table host -- --server --port "$port" --no-announce --seed 7 --pause-tick-ms 0
    host=$LAST_PID
    run_table Bea -- Bea 127.0.0.1 false --port "$port"
    poll 20 "Bea's table" find_window --name "^Morlu - Bea's game at 127\.0\.0\.1\$"
    TABLE=$WIN
    focus_window "$TABLE"
    keys ctrl+n Return
    settle "$TABLE" "the contract chooser"
    keys 1
    settle "$TABLE" "Bea's lead"
    before=$(window_sum "$TABLE")
    kill -KILL "$host"
    wait "$host" 2>/dev/null || true
    poll 20 "sign of the lost connection" changed "$TABLE" "$before"
    settle "$TABLE" "the lost connection"
    shot "$TABLE" table-reconnecting
}

# Me, Ann and Bob join a dedicated host (Me first, so Me holds slot 1 and starts the games; the
# computer Kling takes seat 4). Me follows Ann and Bob in the tally; two short games are played with
# every seat left to the computer (Just Watch, asked anew each game): with these deals Kling wins the
# first and Ann the second. Then Me's tally shows Ann's record.
shot_tally_list() {
    local port name game
    local -A window
    port=$(free_port)
    run_table host -- --server --port "$port" --no-announce --seed 23 --pause-tick-ms 0
    for name in Me Ann Bob; do
        run_table "$name" -- "$name" 127.0.0.1 false --port "$port"
        poll 20 "$name's table" find_window --all --pid "$LAST_PID" --name "^Morlu - Me's game at 127\.0\.0\.1\$"
        window[$name]=$WIN
        settle "$WIN" "$name's table joining"
    done
    # Ann's and Bob's tables out of the way of Me's.
    xdotool windowmove "${window[Ann]}" 900 0 windowmove "${window[Bob]}" 900 700
    TABLE=${window[Me]}
    focus_window "$TABLE"
    keys alt+v Return
    poll 20 "Tally List" find_dialog "$TABLE"
    keys Tab space Down space Escape
    for game in 1 2; do
        focus_window "$TABLE"
        keys ctrl+n
        poll 20 "game length dialog" find_dialog "$TABLE"
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
    poll 20 "Tally List" find_dialog "$TABLE"
    keys shift+Tab End Home
    sleep 0.5
    shot "$TABLE" tally-list
}

for CURRENT in "${NAMES[@]}"; do
    "shot_${CURRENT//-/_}"
    stop_all
done
