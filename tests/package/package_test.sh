#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a
# temporary root as a fresh machine would hold it, and checks what it
# carries: the program runs, the validators pass, the page renders, and the
# installed program keeps its settings under ~/.config/tc101tool.
set -uo pipefail
build_dir=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/out/tc101tool_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no .deb in $work/out"; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/tc101tool ./usr/share/man/man1/tc101tool.1 \
            ./usr/share/bash-completion/completions/tc101tool \
            ./usr/share/applications/tc101tool.desktop \
            ./usr/share/icons/hicolor/scalable/apps/tc101tool.svg \
            ./usr/share/metainfo/io.tc101tool.tc101tool.metainfo.xml \
            ./usr/share/doc/tc101tool/README.md ./usr/share/doc/tc101tool/tc101tool-help.html; do
  grep -qxF "$path" <<<"$contents" || fail "package lacks $path"
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends not computed from the libraries: '$depends'"
grep -q 'libc6' <<<"$depends" || fail "Depends lacks libc6: '$depends'"

root=$work/root
dpkg -x "$deb" "$root"
tool=$root/usr/bin/tc101tool
home=$work/home
mkdir -p "$home"
run() { env -u TC101_CONFIG_DIR -u XDG_CONFIG_HOME HOME="$home" "$tool" "$@"; }

version=$(run --version) || fail "--version fails"
[[ $version =~ ^tc101tool\ [0-9]+\.[0-9]+ ]] || fail "--version prints '$version'"
[ "$(dpkg-deb -f "$deb" Version)" = "${version#tc101tool }" ] || fail "package version differs from '$version'"
account=$(run analyse "10 49 01 4A 16") || fail "analyse fails"
[ "$account" = "有效帧:10 49 01 4A 16  【召唤链路状态 1#】" ] || fail "analyse prints '$account'"
[ -d "$home/.config/tc101tool" ] || fail "the installed program's settings folder is not ~/.config/tc101tool"
[ -z "$(ls "$root/usr/bin" | grep -v '^tc101tool$')" ] || fail "the installed program wrote beside itself"

desktop-file-validate "$root/usr/share/applications/tc101tool.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/io.tc101tool.tc101tool.metainfo.xml" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log"; fail "appstreamcli validate"; }
warnings=$(man --warnings -l "$root/usr/share/man/man1/tc101tool.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
MANWIDTH=80 man -l "$root/usr/share/man/man1/tc101tool.1" 2>/dev/null | grep -q "^NAME" || fail "man -l renders no page"
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/tc101tool.svg" || fail "icon is no SVG"
bash -n "$root/usr/share/bash-completion/completions/tc101tool" || fail "completion does not parse"

[ "$failures" = 0 ] && echo "package: all checks passed"
exit $((failures > 0))
