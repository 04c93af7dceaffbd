#!/usr/bin/env bash
# The Debian package, unpacked into a scratch root: its control fields and files, then the installed
# tools and program started from there on the installed sample, from a folder of their own. The
# installed sample is marked first (a unit and a report renamed), so each run shows that it read the
# installation's copy and not the source tree's.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(echo "$work"/package/vorl_*.deb)
[ -f "$deb" ] || fail "no package in $(ls "$work/package")"

# The libraries as dpkg-shlibdeps found them, the font named by hand, and the fields a package needs.
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6printsupport6 libsqlite3-0 libsodium libicu libstdc++6 fonts-liberation2; do
  grep -qF "$package" <<<"$depends" || fail "Depends lacks $package: $depends"
done
for field in Maintainer Section Description; do
  [ -n "$(dpkg-deb --field "$deb" "$field")" ] || fail "no $field field"
done
outside=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

dpkg -x "$deb" "$work/root"
usr=$work/root/usr
sample=$usr/share/vorl/sample
for file in bin/vorl bin/vorl_db bin/vorl_report bin/vorl_generate share/applications/vorl.desktop \
    share/icons/hicolor/scalable/apps/vorl.svg; do
  [ -s "$usr/$file" ] || fail "$file not installed"
done
for size in 16 32 48 64 128 256; do
  file -b "$usr/share/icons/hicolor/${size}x$size/apps/vorl.png" | grep -qF "PNG image data, $size x $size" ||
    fail "no $size pixel icon"
done
desktop-file-validate "$usr/share/applications/vorl.desktop"
for program in vorl vorl_db vorl_report vorl_generate; do
  page=$usr/share/man/man1/$program.1
  [ -s "$page" ] || fail "no manual page for $program"
  warnings=$(groff -z -ww -man "$page" 2>&1)
  [ -z "$warnings" ] || fail "$program.1: $warnings"
done
diff -r --brief "$(dirname "$0")/../../sample" "$sample" || fail "the installed sample differs from the bundled one"

marked="Karoo Packaged Supergroup"
awk -F'\t' -v OFS='\t' -v name="$marked" '$2 == "Karoo Supergroup" {$2 = name} 1' "$sample/lexicon/VORLLIST.tsv" \
  > "$work/units"
mv "$work/units" "$sample/lexicon/VORLLIST.tsv"
sed -i 's/<Report Name="Hierarchy"/<Report Name="InstalledHierarchy"/' "$sample/reports/VORL.rpd"

# Runs an installed program from a folder outside both trees, with its own configuration and data.
mkdir "$work/elsewhere"
run() {  # home, program, arguments...
  local home=$1; shift
  mkdir -p "$home/run" && chmod 700 "$home/run"
  cd "$work/elsewhere"
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run \
    QT_QPA_PLATFORM=offscreen exec "$@"
}
lists_marked_unit() {  # engine configuration
  (run "$work/tools" "$usr/bin/vorl_db" show "$1") > "$work/show.log" || fail "vorl_db show failed"
  grep -qF "$marked" "$work/show.log" || fail "$1: a lexicon not made from the installed sample"
}

# The database tool makes the sample databases from the installed sample.
(run "$work/tools" "$usr/bin/vorl_db" sample "$work/db") > /dev/null
lists_marked_unit "$work/db/engine.ini"

# The report tool, with neither project nor configuration given, uses the installed project and
# makes the program's sample databases from the installed sample.
(run "$work/report" "$usr/bin/vorl_report" --report InstalledHierarchy --all --output "$work/hierarchy.pdf") \
  > "$work/report.log" 2>&1 || { cat "$work/report.log"; fail "vorl_report failed"; }
pdftotext "$work/hierarchy.pdf" "$work/hierarchy.txt"
grep -qF "$marked" "$work/hierarchy.txt" || fail "the report's lexicon was not made from the installed sample"

# The program on its first start: its engine configuration points at the sample databases it made
# in its data directory from the installed sample, and it is still running, in its message loop.
home=$work/program
(run "$home" "$usr/bin/vorl") > "$work/program.log" 2>&1 &
pid=$!
configuration=$home/config/VORL/engine.ini
for _ in $(seq 1 100); do
  [ -f "$configuration" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$work/program.log"; fail "the program ended on its start"; }
  sleep 0.2
done
[ -f "$configuration" ] || fail "the program wrote no engine configuration"
sleep 1
kill -0 "$pid" 2>/dev/null || { cat "$work/program.log"; fail "the program ended after its start"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
grep -qxF "VORL=$home/data/VORL/sample/VORL" "$configuration" || fail "aliases elsewhere: $(cat "$configuration")"
cmp -s "$home/data/VORL/sample/VORL.rpd" "$sample/reports/VORL.rpd" || fail "the report project is not the installed one"
lists_marked_unit "$configuration"
echo "installed package: program and tools run on the installed sample"
