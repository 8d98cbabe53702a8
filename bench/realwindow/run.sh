#!/usr/bin/env bash
# What a learner feels in the real window, timed from outside: the program
# on Xvfb (xcb), keys and pointer moves injected with XTest at 25 a second,
# every damage rectangle timed by damage_probe, in three interleaved rounds
# against two bare Qt programs in the same run (a line edit for keys, a grid
# plane for moves); then what the window repaints by itself during a run.
#
#   bench/realwindow/run.sh BUILD_DIR
#
# Needs Xvfb, xdotool and ImageMagick's import, and a build configured where
# pkg-config finds x11, xdamage and xtst (the probe is built only then).
# Settings from the environment: DISPLAY_1X (:95), DISPLAY_2X (:96),
# ROUNDS (3), EVENTS (150 a round), IDLE_SECONDS (10), OUT (a new temporary
# folder: the times of every event, and a screenshot of each window as the
# events began, to check that they landed where meant).
set -euo pipefail

BUILD=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
DISPLAY_1X=${DISPLAY_1X:-:95}
DISPLAY_2X=${DISPLAY_2X:-:96}
ROUNDS=${ROUNDS:-3}
EVENTS=${EVENTS:-150}
IDLE_SECONDS=${IDLE_SECONDS:-10}
OUT=${OUT:-$(mktemp -d /tmp/soremuka-realwindow.XXXXXX)}
mkdir -p "$OUT"

PROBE=$BUILD/soremuka-damage-probe
for tool in "$PROBE" "$BUILD/soremuka" "$BUILD/soremuka-bare-lineedit" "$BUILD/soremuka-bare-plane"; do
    [ -x "$tool" ] || { echo "missing $tool (pkg-config must find x11, xdamage and xtst when configuring)" >&2; exit 1; }
done
for cmd in Xvfb xdotool import; do
    command -v $cmd >/dev/null || { echo "missing $cmd" >&2; exit 1; }
done

# Keys in 長さ: digits, a point, and as many BackSpaces, so the box never
# fills. Moves on ｸﾞﾗﾌ書き1: pressed at the plane's origin (where it lies in
# the window, as a fraction of its size; the bare plane has its origin in
# the same place), then round it at six lattice steps with the button held.
KEYS="1 2 period 5 BackSpace BackSpace BackSpace BackSpace"
ORIGIN=0.2516,0.3597
RADIUS=0.161
# The window repaints its clock by itself; what it repaints in the first
# seconds (those rectangles) is no event's repaint.
LEARN=2.5

XVFB_PID=
APP_PID=
SCRATCH=$(mktemp -d /tmp/soremuka-realwindow-run.XXXXXX)
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

start_xvfb() { # DISPLAY SIZE
    Xvfb "$1" -screen 0 "$2x24" -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
        xdpyinfo -display "$1" >/dev/null 2>&1 && return 0
        [ -e "/tmp/.X11-unix/X${1#:}" ] && sleep 0.3 && return 0
        sleep 0.1
    done
    echo "Xvfb $1 did not start" >&2
    exit 1
}

stop_xvfb() {
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

# Starts a program and waits until its window shows; the window gets the
# focus (there is no window manager to give it).
start_app() { # PROGRAM ARGS...
    (cd "$SCRATCH" && exec "$@" >/dev/null 2>&1) &
    APP_PID=$!
    WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --pid "$APP_PID" | head -1)
    [ -n "$WINDOW" ] || { echo "no window from $1" >&2; exit 1; }
    sleep 1
    xdotool windowfocus --sync "$WINDOW"
}

stop_app() {
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
}

# A set chosen from the menu by keyboard: the menu's own key opens it with
# its first item chosen, the arrows go down to the set.
choose_set() { # MENU_KEY DOWNS
    xdotool key "alt+$1"
    sleep 0.4
    for _ in $(seq "$2"); do xdotool key Down; sleep 0.1; done
    xdotool key Return
    sleep 1.5
}

program() { start_app "$BUILD/soremuka" --all-sets; }
nagasa() { choose_set z 3; }
grawrite1() { choose_set 1 2; }

probe_keys() { # NAME ROUND
    import -window root "$OUT/$1-keys-$2.png"
    "$PROBE" --pid "$APP_PID" keys --learn $LEARN --count "$EVENTS" --keys "$KEYS" --out "$OUT/$1-keys.ms" 2>/dev/null \
        | tee -a "$OUT/$1-keys.log"
}

probe_moves() { # NAME ROUND
    import -window root "$OUT/$1-moves-$2-before.png"
    "$PROBE" --pid "$APP_PID" moves --learn $LEARN --count "$EVENTS" --at $ORIGIN --radius $RADIUS \
        --out "$OUT/$1-moves.ms" 2>/dev/null | tee -a "$OUT/$1-moves.log"
    import -window root "$OUT/$1-moves-$2-after.png"
}

# Nearest-rank percentile of the pooled times in a file.
pct() { # FILE P
    sort -g "$1" | awk -v p="$2" '{ v[NR] = $1 } END { if (NR == 0) { print "-"; exit }
        i = int(p * NR); if (i < p * NR) i++; if (i < 1) i = 1; printf "%.2f", v[i] }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

measure_scale() { # LABEL DISPLAY SCREEN QT_SCALE_FACTOR
    local label=$1
    export DISPLAY=$2
    export QT_SCALE_FACTOR=$4
    start_xvfb "$2" "$3"
    rm -f "$OUT/$label"-*.ms "$OUT/$label"-*.log
    for round in $(seq "$ROUNDS"); do
        echo "== $label round $round" >&2
        program; nagasa
        probe_keys "$label-soremuka" "$round" >&2
        stop_app
        start_app "$BUILD/soremuka-bare-lineedit"
        probe_keys "$label-bare" "$round" >&2
        stop_app
        program; grawrite1
        probe_moves "$label-soremuka" "$round" >&2
        stop_app
        start_app "$BUILD/soremuka-bare-plane"
        probe_moves "$label-bare" "$round" >&2
        stop_app
    done
    echo "== $label idle" >&2
    program; nagasa
    "$PROBE" --pid "$APP_PID" idle --seconds "$IDLE_SECONDS" > "$OUT/$label-idle.log"
    stop_app
    stop_xvfb

    local input s50 s99 b50 b99
    for input in keys moves; do
        s50=$(pct "$OUT/$label-soremuka-$input.ms" 0.5); s99=$(pct "$OUT/$label-soremuka-$input.ms" 0.99)
        b50=$(pct "$OUT/$label-bare-$input.ms" 0.5); b99=$(pct "$OUT/$label-bare-$input.ms" 0.99)
        local what=$([ $input = keys ] && echo "a key in 長さ" || echo "a move on ｸﾞﾗﾌ書き1's plane, button held")
        local bare=$([ $input = keys ] && echo "QLineEdit" || echo "grid plane")
        local area
        area=$(awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^area_per_event=/) { split($i, a, "="); s += a[2]; n++ } }
            END { if (n) printf "%.0f", s / n }' "$OUT/$label-soremuka-$input.log")
        local barea
        barea=$(awk '{ for (i = 1; i <= NF; i++) if ($i ~ /^area_per_event=/) { split($i, a, "="); s += a[2]; n++ } }
            END { if (n) printf "%.0f", s / n }' "$OUT/$label-bare-$input.log")
        printf '| %s, %s | %s / %s ms | %s %s / %s ms | ×%s / ×%s | %s / %s |\n' "$what" "$label" "$s50" "$s99" \
            "$bare" "$b50" "$b99" "$(ratio "$s50" "$b50")" "$(ratio "$s99" "$b99")" "$area" "$barea" >> "$OUT/table.md"
    done
    awk -v label="$label" '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] } }
        END { printf "| idle during a run of 長さ, %s | %s repaints a second, %s device pixels each |\n", label,
              v["repaints_per_s"], v["area_per_repaint"] }' "$OUT/$label-idle.log" >> "$OUT/idle.md"
}

: > "$OUT/table.md"
: > "$OUT/idle.md"
measure_scale 1× "$DISPLAY_1X" 1920x1080 1
measure_scale 2× "$DISPLAY_2X" 3840x2160 2

echo
echo "| input | Soremuka p50 / p99 | bare p50 / p99 | ratio p50 / p99 | device pixels damaged per event, Soremuka / bare |"
echo "|---|---|---|---|---|"
cat "$OUT/table.md"
echo
echo "| idle | what the window repaints by itself |"
echo "|---|---|"
cat "$OUT/idle.md"
echo
echo "(times, logs and screenshots in $OUT)"
