#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks what it holds,
# unpacks it into a temporary root with dpkg -x and starts the unpacked
# program there on a virtual display, as a new user would. The program must
# read its content from usr/share/kovara of that root (the build folder's
# copies are beside another executable) and show its main window.
# Usage: installed_package.sh <build folder>
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "cpack failed"; exit 1; }
deb=$(ls "$work"/pkg/kovara_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "no kovara_*.deb was made"; exit 1; }

fail=0
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6printsupport6 libsqlite3-0 zlib1g libfmt9; do
  [[ "$depends" == *"$lib"* ]] || { echo "Depends lacks $lib: $depends"; fail=1; }
done
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/kovara \
         ./usr/share/kovara/bible.kova2 ./usr/share/kovara/devotional.kova2 \
         ./usr/share/kovara/readplans.kova2 ./usr/share/kovara/KOVA2.hlp \
         ./usr/share/kovara/translations/kovara_en.qm \
         ./usr/share/applications/org.example.Kovara.desktop \
         ./usr/share/metainfo/org.example.Kovara.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/org.example.Kovara.svg \
         ./usr/share/icons/hicolor/16x16/apps/org.example.Kovara.png \
         ./usr/share/icons/hicolor/256x256/apps/org.example.Kovara.png \
         ./usr/share/doc/kovara/copyright ./usr/share/doc/kovara/changelog.gz \
         ./usr/share/man/man1/kovara.1.gz; do
  grep -qx -- "$f" <<<"$listing" || { echo "the package lacks $f"; fail=1; }
done
# The pseudo translation is for the tests only.
if grep 'pseudo' <<<"$listing"; then echo "the package holds the pseudo translation"; fail=1; fi
# Nothing outside /usr, so removing the package leaves no file of ours behind.
if grep -v '^\./$' <<<"$listing" | grep -v '^\./usr/' ; then echo "files outside /usr"; fail=1; fi
[ $fail -eq 0 ] || exit 1

root=$work/root
dpkg -x "$deb" "$root"

# One web site: the About box's, the package's and the metainfo's.
links=$(dirname "$0")/../../src/core/app/links.h
website=$(grep -o 'kProductWebsite = "[^"]*"' "$links" | cut -d'"' -f2)
homepage=$(dpkg-deb -f "$deb" Homepage)
metainfo=$(grep -o '<url type="homepage">[^<]*' "$root/usr/share/metainfo/org.example.Kovara.metainfo.xml" | cut -d'>' -f2)
[ -n "$website" ] && [ "$homepage" = "$website" ] && [ "$metainfo" = "$website" ] ||
  { echo "web sites differ: About box '$website', package '$homepage', metainfo '$metainfo'"; exit 1; }

# Debian's checks of a binary package, pedantic ones included: nothing to
# report but the ldconfig calls that CPack writes into postinst and postrm
# for any shared object under /usr/lib (here the private SWORD plug-in in
# /usr/lib/kovara, which the dynamic linker never looks up; the calls are
# harmless).
if command -v lintian >/dev/null; then
  report=$(lintian --pedantic --tag-display-limit 0 --suppress-tags maintscript-calls-ldconfig "$deb" \
             2>"$work/lintian.err")
  rc=$?
  [ -z "$report" ] && [ $rc -eq 0 ] || { echo "lintian --pedantic:"; echo "$report"; cat "$work/lintian.err"; exit 1; }
else
  echo "lintian is missing: run scripts/setup.sh"; exit 1
fi
home=$work/home
mkdir -p "$home/run" && chmod 700 "$home/run"
export HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$home/run
unset QT_QPA_PLATFORM

"$(dirname "$0")/with_display.sh" bash -c '
  root=$1
  "$root/usr/bin/kovara" & pid=$!
  for i in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Kovara 2.0.1.2\""; then found=1; break; fi
    if ! kill -0 $pid 2>/dev/null; then break; fi
    sleep 0.2
  done
  if [ -z "${found:-}" ]; then echo "the installed program showed no main window"; kill $pid 2>/dev/null; exit 1; fi
  # The devotional and the Bible stay open for the whole run: they must be
  # the unpacked copies.
  open=$(ls -l /proc/$pid/fd 2>/dev/null | grep -o "/[^ ]*\.kova2$" | sort -u)
  for f in devotional.kova2 bible.kova2; do
    grep -qx "$root/usr/share/kovara/$f" <<<"$open" ||
      { echo "$f is not read from the unpacked share/kovara; open: $open"; kill $pid; exit 1; }
  done
  kill -TERM $pid
  wait $pid; rc=$?
  [ $rc -eq 0 ] || { echo "the installed program exited with $rc after SIGTERM"; exit 1; }
' _ "$root" || exit 1

[ -f "$home/.local/share/Kovara 2/settings.ini" ] || { echo "no settings.ini in the user data folder"; exit 1; }
echo "ok: $(basename "$deb") holds the program, its content and desktop files; the unpacked program ran from them"
