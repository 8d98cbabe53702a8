#!/usr/bin/env bash
# Checks the Debian package as a school's technician meets it: lintian finds
# no errors, the metainfo, the menu entry and the manual page are valid, and
# once installed with apt-get the program runs from /usr: it lists its sets,
# writes a worksheet, finds its sounds and module, and started as the menu
# entry starts it (under Xvfb) it makes the learner's folder and paints its
# window. A package that was not installed before is removed again.
#
#   scripts/test-package.sh BUILD_DIR     (after make deb)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
debs=("$build"/soremuka_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "test-package: no single package in $build" >&2; exit 1; }
deb=${debs[0]}
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
work=$(mktemp -d)
was_installed=$(dpkg-query -W -f='${Status}' soremuka 2>/dev/null | grep -c "install ok installed" || true)
cleanup() {
  cd /
  rm -rf "$work"
  if [ "$was_installed" = 0 ] && dpkg-query -W -f='${Status}' soremuka 2>/dev/null | grep -q "install ok installed"; then
    $SUDO apt-get -o DPkg::Lock::Timeout=300 remove -y -qq soremuka >/dev/null
  fi
}
trap cleanup EXIT
step() { echo "test-package: $*"; }
fail() { echo "test-package: FAILED: $*" >&2; exit 1; }

step "$deb"
step "lintian"
# Its warnings and notes are shown; an error fails.
status=0
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || status=$?
grep -v "^running with root privileges" "$work/lintian.txt" || true
[ $status -eq 0 ] || fail "lintian reports errors"

depends=$(dpkg-deb -f "$deb" Depends)
for need in fonts-ipafont-gothic libqt6widgets6 libqt6multimedia6; do
  grep -q "$need" <<<"$depends" || fail "Depends lacks $need: $depends"
done
dpkg-deb -f "$deb" Description | grep -q "中学数学" || fail "the description has no Japanese"

step "metainfo, menu entry and manual page"
dpkg-deb -x "$deb" "$work/root"
metainfo=("$work"/root/usr/share/metainfo/*.metainfo.xml)
desktop=("$work"/root/usr/share/applications/*.desktop)
appstreamcli validate --no-net "${metainfo[@]}" || fail "appstreamcli validate"
desktop-file-validate "${desktop[@]}" || fail "desktop-file-validate"
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$work/root/usr/share/man/man1/soremuka.1.gz" 2>&1 >"$work/man.txt")
[ -z "$man_warnings" ] || fail "the manual page: $man_warnings"
for option in --all-sets --folder --learner-folder --paths --list-sets --print-bank --worksheet --answers --order \
  --columns --page; do
  grep -q -- "$option" "$work/man.txt" || fail "the manual page does not mention $option"
done

step "apt-get install ./$(basename "$deb")"
(cd "$(dirname "$deb")" && $SUDO apt-get -o DPkg::Lock::Timeout=300 install -y -qq --reinstall \
  "./$(basename "$deb")" >"$work/apt.log" 2>&1) || { cat "$work/apt.log"; fail "apt-get install"; }
[ "$(command -v soremuka)" = /usr/bin/soremuka ] || fail "soremuka is not /usr/bin/soremuka"
[ "$(man -w soremuka)" = /usr/share/man/man1/soremuka.1.gz ] || fail "man does not find soremuka(1)"

# Run as a learner would: from a folder of their own, with a home of their own.
mkdir -p "$work/home" "$work/cwd"
cd "$work/cwd"
export HOME=$work/home
unset XDG_DOCUMENTS_DIR XDG_CONFIG_HOME

step "soremuka --list-sets"
sets=$(/usr/bin/soremuka --list-sets)
[ "$(wc -l <<<"$sets")" -ge 20 ] || fail "--list-sets: $sets"
grep -q "^grawrite1	" <<<"$sets" || fail "--list-sets lacks grawrite1"

step "soremuka --worksheet grawrite1"
/usr/bin/soremuka --worksheet grawrite1 --answers -o sheet.pdf
[ "$(head -c 5 sheet.pdf)" = "%PDF-" ] || fail "the worksheet is no PDF"
# Question texts set their fractions stacked, so look for a whole sentence
# without one, and for the rest of the set's sentences.
pdftotext sheet.pdf - >sheet.txt
grep -q "y=-2xのグラフを書いてください。" sheet.txt || fail "the worksheet lacks its questions"
[ "$(grep -c "のグラフを書いてください。" sheet.txt)" -ge 20 ] || fail "the worksheet lacks questions"

step "soremuka --paths"
paths=$(/usr/bin/soremuka --paths) || fail "--paths: $paths"
grep -q "^sounds	/usr/share/soremuka$" <<<"$paths" || fail "sounds not in /usr/share/soremuka: $paths"
grep -q "^sound module	/usr/lib/soremuka/libsoremuka-sound.so$" <<<"$paths" || fail "the module: $paths"
grep -q "^roster	/usr/share/soremuka/roster.ini$" <<<"$paths" || fail "the roster: $paths"

step "the menu entry's command under Xvfb, to its first painted frame"
entry=$(dpkg -L soremuka | grep '^/usr/share/applications/.*\.desktop$')
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ "$exec_line" = "soremuka --learner-folder" ] || fail "the menu entry runs $exec_line"
read -r -a command <<<"$exec_line"
painted=$(env -u QT_QPA_PLATFORM SOREMUKA_EXIT_AFTER_PAINT=1 timeout 60 \
  xvfb-run -a -s "-screen 0 1280x1024x24" "${command[@]}" 2>"$work/window.log") ||
  { cat "$work/window.log"; fail "the window did not start"; }
grep -q "^painted" <<<"$painted" || { cat "$work/window.log"; fail "the window did not paint"; }
[ -d "$HOME/Documents/ソレムカゼミ" ] || fail "the learner's folder was not made"
step "passed"
