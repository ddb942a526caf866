#!/usr/bin/env bash
# Installs the build into a temporary root, then builds the Debian package and
# unpacks it into another; both must hold the programs, the desktop entry, the
# icon and the metainfo, and the package must depend on what the programs need.
set -euo pipefail

build_dir=$1
shift
programs=("$@")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

check_tree() {
    local root=$1
    local file
    for file in "${programs[@]/#/bin/}" \
        share/applications/io.github.scrfix.scrfix.desktop \
        share/metainfo/io.github.scrfix.scrfix.metainfo.xml \
        share/icons/hicolor/128x128/apps/io.github.scrfix.scrfix.png; do
        [[ -s "$root/$file" ]] || fail "$root/$file is missing"
    done
    for file in "${programs[@]/#/bin/}"; do
        [[ -x "$root/$file" ]] || fail "$root/$file is not executable"
    done
    file -b "$root/share/icons/hicolor/128x128/apps/io.github.scrfix.scrfix.png" |
        grep -q '128 x 128' || fail "the icon is not 128 x 128"
}

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
check_tree "$scratch/prefix"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$scratch/prefix/share/applications/io.github.scrfix.scrfix.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic \
        "$scratch/prefix/share/metainfo/io.github.scrfix.scrfix.metainfo.xml" >"$scratch/validate.log" ||
        fail "metainfo: $(cat "$scratch/validate.log")"
fi

(cd "$build_dir" && cpack -G DEB -B "$scratch/package" >"$scratch/cpack.log") ||
    fail "cpack: $(cat "$scratch/cpack.log")"
package=$(find "$scratch/package" -maxdepth 1 -name 'scrfix_*.deb' | head -n 1)
[[ -n "$package" ]] || fail "no .deb was built"
dpkg-deb -x "$package" "$scratch/root"
check_tree "$scratch/root/usr"
depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
echo "installed and packaged: $(basename "$package"), Depends: $depends"
