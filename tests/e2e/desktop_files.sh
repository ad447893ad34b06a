#!/usr/bin/env bash
# Checks the menu entry and the AppStream description with Debian's own
# validators, and that the two name the same application id and icon.
# Usage: desktop_files.sh <data/desktop folder> <folder of the rendered icons>
set -u
src=$1 icons=$2
id=org.example.Kovara
fail=0

desktop-file-validate "$src/$id.desktop" || { echo "desktop-file-validate rejects $id.desktop"; fail=1; }
appstreamcli validate --no-net "$src/$id.metainfo.xml" ||
  { echo "appstreamcli rejects $id.metainfo.xml"; fail=1; }

grep -qx "Icon=$id" "$src/$id.desktop" || { echo "the menu entry does not use the icon $id"; fail=1; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$src/$id.metainfo.xml" ||
  { echo "the metainfo does not launch $id.desktop"; fail=1; }

# Every rendered icon is a PNG of its folder's size.
for size in 16 22 24 32 48 64 128 256; do
  png="$icons/${size}x${size}/$id.png"
  [ -f "$png" ] || { echo "missing icon $png"; fail=1; continue; }
  dims=$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print("%dx%d" % struct.unpack(">II", d[16:24]))' "$png") ||
    { echo "$png is not a PNG"; fail=1; continue; }
  [ "$dims" = "${size}x${size}" ] || { echo "$png is $dims"; fail=1; }
done
[ $fail -eq 0 ] && echo "ok: desktop file, metainfo and icons"
exit $fail
