#!/usr/bin/env bash
# Installs the build into a temporary root, then builds the Debian package and
# unpacks it into another; both must hold the programs, their manual pages,
# the desktop entry, the icon, the metainfo, the MIME type of screen files,
# the licence and the changelog. The desktop entry must open files of that
# type, which the MIME database must then know *.scr files by; the package
# must depend on what the programs need and pass lintian without an error or
# a warning.
set -euo pipefail

build_dir=$1
shift
programs=("$@")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

app_id=io.github.scrfix.scrfix
screen_type=application/x-zx-spectrum-screen

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Compressed as Debian wants: best compression, no file name, no time stamp.
check_compressed() {
    local description
    description=$(file -b "$1")
    [[ "$description" == *"max compression"* && "$description" != *"was \""* &&
        "$description" != *"last modified"* ]] || fail "$1 is not compressed with gzip -9n: $description"
}

check_tree() {
    local root=$1
    local file page
    for file in "${programs[@]/#/bin/}" \
        "${programs[@]/#/share/man/man1/}" \
        share/applications/$app_id.desktop \
        share/metainfo/$app_id.metainfo.xml \
        share/icons/hicolor/128x128/apps/$app_id.png \
        share/mime/packages/$app_id.xml \
        share/doc/scrfix/copyright \
        share/doc/scrfix/changelog.gz; do
        [[ "$file" != share/man/man1/* ]] || file+=.1.gz
        [[ -s "$root/$file" ]] || fail "$root/$file is missing"
    done
    for file in "${programs[@]/#/bin/}"; do
        [[ -x "$root/$file" ]] || fail "$root/$file is not executable"
    done
    file -b "$root/share/icons/hicolor/128x128/apps/$app_id.png" |
        grep -q '128 x 128' || fail "the icon is not 128 x 128"

    grep -qx "Exec=scrfix %f" "$root/share/applications/$app_id.desktop" ||
        fail "the desktop entry does not pass a file to scrfix"
    grep -qx "MimeType=$screen_type;" "$root/share/applications/$app_id.desktop" ||
        fail "the desktop entry does not claim $screen_type"
    grep -q "<project_license>MIT</project_license>" "$root/share/metainfo/$app_id.metainfo.xml" ||
        fail "the metainfo names no project licence"
    grep -q "<mediatype>$screen_type</mediatype>" "$root/share/metainfo/$app_id.metainfo.xml" ||
        fail "the metainfo does not list $screen_type"
    grep -q "<mime-type type=\"$screen_type\">" "$root/share/mime/packages/$app_id.xml" ||
        fail "the MIME package does not define $screen_type"
    grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
        "$root/share/doc/scrfix/copyright" || fail "the copyright file is not machine-readable"

    check_compressed "$root/share/doc/scrfix/changelog.gz"
    for page in "${programs[@]}"; do
        file="$root/share/man/man1/$page.1.gz"
        check_compressed "$file"
        # man-db sends groff's warnings to standard error: there must be none,
        # in a UTF-8 terminal as in plain ASCII.
        for locale in C.UTF-8 C; do
            LC_ALL=$locale man --warnings -l "$file" >"$scratch/page.txt" 2>"$scratch/man.err" ||
                fail "man cannot render $file"
            [[ ! -s "$scratch/man.err" ]] ||
                fail "man warns about $file ($locale): $(cat "$scratch/man.err")"
        done
        grep -q "^       $page - " "$scratch/page.txt" || fail "$file has no NAME line for $page"
        grep -q -- "--version" "$scratch/page.txt" || fail "$file does not describe --version"
    done
}

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
check_tree "$scratch/prefix"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$scratch/prefix/share/applications/$app_id.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic \
        "$scratch/prefix/share/metainfo/$app_id.metainfo.xml" >"$scratch/validate.log" ||
        fail "metainfo: $(cat "$scratch/validate.log")"
fi
# Without a desktop named, xdg-mime asks `mimetype`, which reads the
# shared-mime-info databases on XDG_DATA_DIRS.
if command -v update-mime-database >/dev/null && command -v xdg-mime >/dev/null &&
    command -v mimetype >/dev/null; then
    export XDG_DATA_DIRS="$scratch/prefix/share:/usr/share"
    update-mime-database "$scratch/prefix/share/mime"
    head -c 6912 /dev/zero >"$scratch/some.scr"
    answer=$(env -u XDG_CURRENT_DESKTOP -u DE xdg-mime query filetype "$scratch/some.scr")
    [[ "$answer" == "$screen_type" ]] || fail "xdg-mime takes a .scr file for '$answer'"
fi

(cd "$build_dir" && cpack -G DEB -B "$scratch/package" >"$scratch/cpack.log") ||
    fail "cpack: $(cat "$scratch/cpack.log")"
package=$(find "$scratch/package" -maxdepth 1 -name 'scrfix_*.deb' | head -n 1)
[[ -n "$package" ]] || fail "no .deb was built"
dpkg-deb -x "$package" "$scratch/root"
check_tree "$scratch/root/usr"
for file in "${programs[@]/#/$scratch/root/usr/bin/}"; do
    file -b "$file" | grep -q ', stripped' || fail "$file is not stripped"
done
depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libspectrum8 libpng16-16; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
if command -v lintian >/dev/null; then
    # Informational tags are allowed; errors and warnings are not.
    status=0
    lintian --fail-on error,warning "$package" >"$scratch/lintian.log" 2>&1 || status=$?
    if grep -E '^[EW]: ' "$scratch/lintian.log"; then
        fail "lintian reports errors or warnings"
    fi
    ((status == 0)) || fail "lintian failed: $(cat "$scratch/lintian.log")"
    echo "lintian: no errors, no warnings"
else
    echo "lintian is not installed: the package was not checked with it"
fi
echo "installed and packaged: $(basename "$package"), Depends: $depends"
