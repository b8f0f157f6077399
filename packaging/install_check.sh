#!/usr/bin/env bash
# Installs the build into a temporary prefix, makes the prefix read-only and
# runs both programs from there: they must find their data under
# share/kestrel, and write nothing into the prefix.
#   install_check.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

for f in bin/kestrel bin/kestrel-cli share/kestrel/EvalFunc/Russian/Russian.eng \
         share/applications/org.kestrelthornby.Kestrel.desktop share/icons/hicolor/scalable/apps/kestrel.svg \
         share/metainfo/org.kestrelthornby.Kestrel.metainfo.xml; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$prefix/share/applications/org.kestrelthornby.Kestrel.desktop"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net --explain "$prefix/share/metainfo/org.kestrelthornby.Kestrel.metainfo.xml" > "$work/appstream.log" ||
    { cat "$work/appstream.log"; exit 1; }
fi

chmod -R a-w "$prefix"
listing() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort); }
before=$(listing)
export HOME=$work/home
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME"
cd "$work"

"$prefix/bin/kestrel-cli" variants | grep -q '^6 International 10x10 50 20$' || { echo "kestrel-cli variants failed"; exit 1; }
"$prefix/bin/kestrel-cli" folders > folders.txt
grep -qx "program $prefix/share/kestrel/" folders.txt || { cat folders.txt; echo "data folder not found"; exit 1; }
grep -qx "settings $HOME/.config/kestrel/" folders.txt || { cat folders.txt; exit 1; }
"$prefix/bin/kestrel-cli" analyse --variant russian --depth 5 > analyse.txt 2> analyse.err
grep -q '^bestmove' analyse.txt || { cat analyse.txt analyse.err; exit 1; }
if grep -q 'no engine file' analyse.err; then cat analyse.err; echo "engine files not found"; exit 1; fi
QT_QPA_PLATFORM=offscreen "$prefix/bin/kestrel" --diagram "$work/diagram.png" --variant international
[ -s "$work/diagram.png" ] || { echo "kestrel --diagram wrote nothing"; exit 1; }

[ "$before" = "$(listing)" ] || { echo "the programs wrote into the installed prefix"; exit 1; }
echo "install check passed: $prefix"
