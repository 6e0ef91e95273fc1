#!/usr/bin/env bash
# The built module as it is released, checked without building it twice:
#  - its import table names only libraries the system always takes from its own folder (the
#    known DLLs); every other library is loaded at run time from the system folder;
#  - its version information holds the project's version under the saver's name, and its
#    manifest asks for per-monitor DPI awareness (v2, with the fallbacks older systems read);
#  - it is reproducible: no link time stamp, and no path of the source or build tree;
#  - the release zip made from it depends on nothing but its inputs: made twice from copies in
#    different folders, with other file times, umask and time zone, it has the same bytes,
#    with entries sorted, dated at SOURCE_DATE_EPOCH, and without extra fields.
# Usage: release_module_check.sh MODULE SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail
module=$1 source_dir=$2 build_dir=$3 version=$4
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

known='^(advapi32|gdi32|kernel32|msvcrt|user32)\.dll$'
imports=$(x86_64-w64-mingw32-objdump -p "$module" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || fail "no import table read from $module"
for library in $imports; do
    [[ ${library,,} =~ $known ]] || fail "imports $library, which the system may look for beside the module"
done

header=$(od -An -tu4 -j60 -N4 "$module" | tr -d ' ')
stamp=$(od -An -tu4 -j$((header + 8)) -N4 "$module" | tr -d ' ')
[ "$stamp" = 0 ] || fail "the PE header holds the link time $stamp"
for path in "$source_dir" "$build_dir"; do
    if grep -qaF "$path" "$module"; then fail "holds the path $path"; fi
done

wrestool -x --raw -t 16 "$module" > "$work/version_info"
wrestool -x --raw -t 24 "$module" > "$work/manifest"
python3 - "$work/version_info" "$work/manifest" "$version" <<'PYTHON' || failed=1
import re, struct, sys, xml.etree.ElementTree as tree
version_info, manifest, version = open(sys.argv[1], "rb").read(), sys.argv[2], sys.argv[3]
major, minor, patch = (int(part) for part in version.split("."))
problems = []
fixed = version_info.find(b"\xbd\x04\xef\xfe")  # VS_FIXEDFILEINFO's signature
if fixed < 0 or struct.unpack_from("<2I", version_info, fixed + 8) != (major << 16 | minor, patch << 16):
    problems.append(f"the version information does not hold {version}")
strings = dict(re.findall(r"(FileDescription|FileVersion)\0+([^\0]+)", version_info.decode("utf-16-le", "replace")))
if strings != {"FileDescription": "Nordle Dial", "FileVersion": version}:
    problems.append(f"the version information's strings are {strings}")
settings = "{urn:schemas-microsoft-com:asm.v3}application/{urn:schemas-microsoft-com:asm.v3}windowsSettings/"
root = tree.parse(manifest).getroot()
awareness = root.findtext(settings + "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness", "")
aware = root.findtext(settings + "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware", "")
if [entry.strip().lower() for entry in awareness.split(",")] != ["permonitorv2", "permonitor"]:
    problems.append(f"the manifest's dpiAwareness is {awareness!r}")
if aware.strip().lower() != "true/pm":
    problems.append(f"the manifest's dpiAware is {aware!r}")
for problem in problems: print("FAIL:", problem, file=sys.stderr)
sys.exit(1 if problems else 0)
PYTHON

export SOURCE_DATE_EPOCH=1700000000
mkdir "$work/one" "$work/other"
cp "$module" "$work/one/Vintrel.scr"
cp "$module" "$work/other/Vintrel.scr"
touch -d @1 "$work/other/Vintrel.scr"
chmod 0700 "$work/other/Vintrel.scr"
release_zip="$(dirname "$0")/../../scripts/release-zip.sh"
TZ=UTC "$release_zip" "$work/one/Vintrel.scr" 0.0.0 "$work/one/dist" >/dev/null
(umask 077 && TZ=Pacific/Kiritimati "$release_zip" "$work/other/Vintrel.scr" 0.0.0 "$work/other/dist" >/dev/null)
cmp -s "$work/one/dist/Vintrel-0.0.0-win64.zip" "$work/other/dist/Vintrel-0.0.0-win64.zip" ||
    fail "two zips of the same module differ"
cmp -s "$work/one/dist/SHA256SUMS" "$work/other/dist/SHA256SUMS" || fail "two SHA256SUMS of the same zip differ"
python3 - "$work/one/dist/Vintrel-0.0.0-win64.zip" <<'PYTHON' || failed=1
import sys, time, zipfile
entries = zipfile.ZipFile(sys.argv[1]).infolist()
names = [entry.filename for entry in entries]
problems = [] if names == sorted(names) == ["README.txt", "Vintrel.scr"] else [f"entries {names}"]
for entry in entries:
    if entry.date_time != time.gmtime(1700000000)[:6]: problems.append(f"{entry.filename} dated {entry.date_time}")
    if entry.extra: problems.append(f"{entry.filename} has extra fields")
for problem in problems: print("FAIL: zip:", problem, file=sys.stderr)
sys.exit(1 if problems else 0)
PYTHON
exit $failed
