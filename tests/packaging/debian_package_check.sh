#!/usr/bin/env bash
# The Debian package of a built tree (scripts/debian-package.sh): the same bytes from another
# umask, time zone and folder; its files, owners and modes; its control fields, with a dependency
# for every library the program links; lintian; and the manual page, desktop entry and settings
# file in it as man, desktop-file-validate and XScreenSaver's own settings files read them.
# Usage: debian_package_check.sh BUILD_DIR
set -euo pipefail
build_dir=$1
package_script="$(dirname "$0")/../../scripts/debian-package.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

export SOURCE_DATE_EPOCH=1700000000
deb=$(TZ=UTC "$package_script" "$build_dir" "$work/one")
other=$(umask 077 && TZ=Pacific/Kiritimati "$package_script" "$build_dir" "$work/other")
cmp -s "$deb" "$other" || fail "two packages of the same tree differ"

listing=$(dpkg-deb -c "$deb" | awk '{ print $1, $2, $6 }')
expected=$(sed 's/^ *//' <<'LIST'
    drwxr-xr-x root/root ./
    drwxr-xr-x root/root ./usr/
    drwxr-xr-x root/root ./usr/libexec/
    drwxr-xr-x root/root ./usr/libexec/xscreensaver/
    -rwxr-xr-x root/root ./usr/libexec/xscreensaver/vintrel
    drwxr-xr-x root/root ./usr/share/
    drwxr-xr-x root/root ./usr/share/applications/
    drwxr-xr-x root/root ./usr/share/applications/screensavers/
    -rw-r--r-- root/root ./usr/share/applications/screensavers/vintrel.desktop
    drwxr-xr-x root/root ./usr/share/doc/
    drwxr-xr-x root/root ./usr/share/doc/vintrel/
    -rw-r--r-- root/root ./usr/share/doc/vintrel/README.Debian
    -rw-r--r-- root/root ./usr/share/doc/vintrel/changelog.gz
    -rw-r--r-- root/root ./usr/share/doc/vintrel/copyright
    drwxr-xr-x root/root ./usr/share/man/
    drwxr-xr-x root/root ./usr/share/man/man6/
    -rw-r--r-- root/root ./usr/share/man/man6/vintrel.6.gz
    drwxr-xr-x root/root ./usr/share/xscreensaver/
    drwxr-xr-x root/root ./usr/share/xscreensaver/config/
    -rw-r--r-- root/root ./usr/share/xscreensaver/config/vintrel.xml
LIST
)
[ "$listing" = "$expected" ] || fail "the package's files: $(diff <(echo "$expected") <(echo "$listing"))"

architecture=$(dpkg --print-architecture)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
[ "$(dpkg-deb -f "$deb" Package Version Architecture Suggests)" = "Package: vintrel
Version: $version
Architecture: $architecture
Suggests: xscreensaver | xfce4-screensaver | mate-screensaver" ] || fail "control fields: $(dpkg-deb -f "$deb")"
dpkg-deb -x "$deb" "$work/root"
program="$work/root/usr/libexec/xscreensaver/vintrel"
depended=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | awk '{ print $1 }')
for library in $(readelf -d "$program" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
    providers=$(dpkg -S "*/$library" | sed -n "s/^\([^:]*\):$architecture: .*/\1/p")
    grep -qxF -f <(echo "$providers") <<<"$depended" || fail "no dependency for $library ($providers)"
done
lintian --fail-on error,warning "$deb" 2>/dev/null || fail "lintian"

page="$work/root/usr/share/man/man6/vintrel.6.gz"
[ -z "$(man --warnings -l "$page" 2>&1 >/dev/null)" ] || fail "man: $(man --warnings -l "$page" 2>&1 >/dev/null)"
# Each option of --help heads an entry of the page's OPTIONS.
headings=$(LC_ALL=C MANWIDTH=200 man -l "$page" 2>/dev/null | col -b | sed -n '/^OPTIONS$/,/^[A-Z]/p' | grep -E '^ {7}-')
help=$("$program" --help)
for option in $(grep -o -- '--[a-z-]*' <<<"$help" | sort -u); do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$headings" || fail "the manual page lacks $option"
done

entry="$work/root/usr/share/applications/screensavers/vintrel.desktop"
[ -z "$(desktop-file-validate --no-hints "$entry")" ] || fail "desktop-file-validate: $(desktop-file-validate "$entry")"
grep -qx 'Exec=/usr/libexec/xscreensaver/vintrel --root' "$entry" || fail "the desktop entry's Exec"

# Every element and attribute of the settings file is one that XScreenSaver's own files use on
# that element; the frame-rate slider sets --delay, from the program's default.
delay=$(sed -n 's/.*--delay .*default \([0-9]*\).*/\1/p' <<<"$help")
python3 - "$work/root/usr/share/xscreensaver/config/vintrel.xml" "$delay" <<'PYTHON' || fail "the settings file"
import glob, sys, xml.etree.ElementTree as tree
known = {}
for path in glob.glob("/usr/share/xscreensaver/config/*.xml"):
    for element in tree.parse(path).iter():
        known.setdefault(element.tag, set()).update(element.attrib)
ours = tree.parse(sys.argv[1])
problems = [f"<{e.tag} {name or ''}>" for e in ours.iter() for name in [None, *e.attrib]
            if e.tag not in known or (name and name not in known[e.tag])]
slider = ours.find("number[@id='delay']")
wanted = {"type": "slider", "arg": "--delay %", "default": sys.argv[2], "convert": "invert"}
if slider is None or any(slider.get(k) != v for k, v in wanted.items()) or \
        not float(slider.get("low")) <= float(sys.argv[2]) <= float(slider.get("high")):
    problems.append("the frame-rate slider")
for problem in problems: print("FAIL: settings file:", problem, file=sys.stderr)
sys.exit(1 if problems or not known else 0)
PYTHON
exit $failed
