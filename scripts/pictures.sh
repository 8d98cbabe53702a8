#!/usr/bin/env bash
# Makes the README's pictures from the program itself: the window's screens
# through the headless driver, a worksheet page and the class overview
# through the command line, and the icon's PNG sizes from its SVG. Run by
# `make pictures` after a build; commit what changed under docs/ and assets/.
#
#   scripts/pictures.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
drive="$build/soremuka-drive"
program="$build/soremuka"
out=docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
mkdir -p "$out"

# A picture as committed: few colours, no metadata. The screens stay at the
# window's own size so that their text reads as it does on the screen.
keep() { # SOURCE NAME [RESIZE]
  local src=$1 name=$2
  if [ $# -ge 3 ]; then
    convert "$src" -resize "$3" "$work/resized.png"
    src=$work/resized.png
  fi
  pngquant --force --strip --quality 60-90 --output "$out/$name" "$src"
  echo "pictures: $out/$name ($(stat -c %s "$out/$name") bytes)"
}

# A results folder of its own for each screen, holding the family files
# given as NAME=CONTENT (lines separated by \n, written with CR LF).
folder() { # NAME [FILE=CONTENT ...]
  local dir="$work/$1"
  shift
  mkdir -p "$dir"
  for file in "$@"; do
    printf '%b' "${file#*=}" | sed 's/$/\r/' >"$dir/${file%%=*}"
  done
  echo "$dir"
}

# Runs a driver script; its "shot" lines write into the work folder.
run() { # SCRIPT-NAME (script on standard input)
  cat >"$work/$1.drive"
  "$drive" "$work/$1.drive"
}

# Every run on the same day and hour, so the pictures change only when the
# program does.
head="date 2026/12/08
clock 36000"

# A first run of a set that scored 9 or less puts it in bank order, so that
# "goto N" shows the bank's question N.
bank_order() { echo "2026/12/01\n5,261201#$1"; }

# 1. The start screen.
run start <<EOF
$head
folder $(folder start)
start
shot window $work/start.png
EOF
keep "$work/start.png" start.png

# 2. A typed answer with its preview: y=-2/3x is typed denominator first.
run typed <<EOF
$head
folder $(folder typed "1年関数読み書き.txt=$(bank_order 1年関数読み書き1.txt)")
menu graread1
goto 15
tick
type y=-3/2x
shot window $work/typed.png
EOF
keep "$work/typed.png" typed-answer.png

# 3. A graph answer: two points of y=-3/2x clicked on the plane.
run graph <<EOF
$head
folder $(folder graph "1年関数読み書き.txt=$(bank_order 1年関数読み書き3.txt)")
menu grawrite1
goto 20
tick
tap 0 0
tap -2 3
shot window $work/graph.png
EOF
keep "$work/graph.png" graph-answer.png

# 4. A miss: the triangle's area is 8, the learner says 16.
run miss <<EOF
$head
folder $(folder miss "面積三角形.txt=$(bank_order 面積三角形1.txt)")
menu sanmen
goto 2
tick
type 16
key Enter
shot window $work/miss.png
EOF
keep "$work/miss.png" miss-explanation.png

# 5. The end of a five-minute run: the chart of the learner's past scores,
# with today's run of right answers typed from the bank.
history="2026/12/07\n8,261120#長さ面積1.txt\n12,261124#長さ面積1.txt\n10,261127#長さ面積2.txt"
history+="\n15,261201#長さ面積1.txt\n14,261203#長さ面積2.txt\n18,261207#長さ面積1.txt"
{
  echo "$head"
  echo "folder $(folder chart "長さ面積.txt=$history")"
  echo "menu nagasa"
  "$program" --print-bank nagasa | head -n 21 | cut -f3 | while read -r answer; do
    echo "type $answer"
    echo "key Enter"
  done
  echo "advance 300.3"
  echo "shot window $work/chart.png"
} | run chart
keep "$work/chart.png" end-of-run-chart.png

# 5b. The misses of a run, listed after its chart, ready to be played again:
# the bank's questions answered in order, the second and the fifth missed.
{
  echo "$head"
  echo "folder $(folder misses "長さ面積.txt=$(bank_order 長さ面積1.txt)")"
  echo "menu nagasa"
  "$program" --print-bank nagasa | head -n 6 | cut -f3 | {
    n=0
    while read -r answer; do
      n=$((n + 1))
      if [ $n = 2 ] || [ $n = 5 ]; then
        printf 'type 1%s\nkey Enter\nkey Space\n' "$answer"
      else
        printf 'type %s\nkey Enter\n' "$answer"
      fi
    done
  }
  echo "advance 300.3"
  echo "shot window $work/misses.png"
} | run misses
keep "$work/misses.png" run-misses.png

# 6. A worksheet page, at half its printing resolution.
"$program" --worksheet sanmen -o "$work/worksheet.png"
keep "$work/worksheet.png" worksheet-page.png 50%

# 7. The class overview (soremuka --report): a class folder of four
# learners' folders, each with runs played through the driver. A program
# without --report opens its window instead, which the probe below closes
# at its first paint, and leaves no picture.
class="$work/class"
for n in 1 2 3 4; do
  learner="$class/生徒0$n"
  mkdir -p "$learner"
  for day in 01 03 07; do
    {
      echo "date 2026/12/$day"
      echo "clock 36000"
      echo "folder $learner"
      echo "menu nagasa"
      "$program" --print-bank nagasa | head -n $((4 * n + ${day#0})) | cut -f3 | while read -r answer; do
        echo "type $answer"
        echo "key Enter"
      done
      echo "advance 300.3"
    } | run "class-$n-$day"
  done
done
rm -f "$work/overview.png"
SOREMUKA_EXIT_AFTER_PAINT=1 timeout 120 "$program" --report "$class" -o "$work/overview.png" >/dev/null 2>&1 || true
if [ -s "$work/overview.png" ]; then
  keep "$work/overview.png" class-overview.png 50%
else
  echo "pictures: this soremuka has no --report yet; the class-overview picture is left as it is"
fi

# The icon's PNG sizes for the desktop, from its SVG.
for size in 48 256; do
  rsvg-convert -w $size -h $size assets/soremuka.svg -o assets/soremuka-$size.png
  optipng -quiet -o7 -strip all assets/soremuka-$size.png
done
echo "pictures: assets/soremuka-48.png, assets/soremuka-256.png"
