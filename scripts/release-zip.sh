#!/usr/bin/env bash
# Writes the release from a built module: OUT_DIR/Vintrel-VERSION-win64.zip holding Vintrel.scr
# and README.txt, and OUT_DIR/SHA256SUMS. The bytes depend only on the module, the version and
# SOURCE_DATE_EPOCH (the commit's time; every entry is dated at it): entries sorted by name,
# fixed modes, no extra fields, nothing from the local time zone, umask or folder.
# Usage: release-zip.sh MODULE VERSION OUT_DIR   (scripts/package.sh runs it)
set -euo pipefail
module=$1 version=$2 out_dir=$3
: "${SOURCE_DATE_EPOCH:?set SOURCE_DATE_EPOCH, for example to git log -1 --format=%ct}"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$module" "$stage/Vintrel.scr"
zip_name="Vintrel-$version-win64.zip"
title="Nordle Dial - the Vintrel screen saver, version $version"
# CRLF line ends, which Notepad before Windows 10 needs.
sed 's/$/\r/' > "$stage/README.txt" <<TEXT
$title
$(printf '%*s' ${#title} '' | tr ' ' '=')

A clock under a glass dome that shows the local time, with a swinging pendulum, turning gears,
a night sky and falling snow, drawn with OpenGL.

Install
  Right-click Vintrel.scr and choose Install. Or copy Vintrel.scr into C:\\Windows\\System32
  and pick "Nordle Dial" in the Screen Saver Settings (search the Start menu for "screen
  saver").

"Windows protected your PC"
  Windows marks files downloaded from the internet, and Vintrel.scr carries no publisher's
  signature, so Microsoft Defender SmartScreen may stop it the first time with "Windows
  protected your PC". Choose "More info", then "Run anyway". Or, before installing, right-click
  Vintrel.scr, choose Properties, tick "Unblock" at the bottom of the General tab and choose OK;
  Windows then starts it without asking. Check the download first (below).

Uninstall
  Pick another screen saver (or None) in the screen saver settings, then delete Vintrel.scr
  from where it lies (in C:\\Windows\\System32, as an administrator).

Needs
  64-bit Windows with OpenGL 1.1, which every Windows has: the clock, the gears and the sky.
  With OpenGL 2.0 and framebuffer objects (any graphics driver of the last fifteen years) it
  also shows the reflections in the dome and the snow.
  The saver has no settings (its Settings button says so) and writes nothing.

Check
  SHA256SUMS, published beside the zip, holds the zip's SHA-256 digest. In a Command Prompt, in
  the folder you downloaded it to:
    certutil -hashfile $zip_name SHA256
  or in PowerShell:
    Get-FileHash $zip_name
  Both print the digest (certutil in lower case, PowerShell in upper case): it must be the one
  on the zip's line of SHA256SUMS. The same commit of the source, built with scripts/package.sh,
  gives the same bytes.
TEXT

mkdir -p "$out_dir"
python3 - "$out_dir/$zip_name" "$SOURCE_DATE_EPOCH" "$stage/README.txt" "$stage/Vintrel.scr" <<'PYTHON'
import os, sys, time, zipfile
output, epoch, *files = sys.argv[1:]
dated = time.gmtime(max(int(epoch), 315532800))[:6]  # zip dates start in 1980
with zipfile.ZipFile(output, "w") as archive:
    for path in sorted(files, key=os.path.basename):
        entry = zipfile.ZipInfo(os.path.basename(path), date_time=dated)
        entry.create_system = 3  # Unix, so that the mode below is read
        entry.external_attr = 0o100644 << 16  # a plain file, rw-r--r--
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(path, "rb") as data:
            archive.writestr(entry, data.read())
PYTHON
(cd "$out_dir" && sha256sum "$zip_name" > SHA256SUMS)
echo "$out_dir/$zip_name"
