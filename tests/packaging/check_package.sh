#!/bin/sh
# Builds the Debian package from the build folder into a temporary folder and checks what a
# person installing it gets: its name and version, exactly the expected files, stripped
# programs, and dependencies that include what the programs need at run time.
# Usage: check_package.sh <cpack> <CPackConfig.cmake> <version> <needed,packages> <file>...
cpack=$1 config=$2 version=$3 needed=$4
shift 4
for tool in dpkg-deb dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages dpkg-dev and file)"
        exit 77
    fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! "$cpack" -G DEB --config "$config" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

package=$(ls "$work"/vorlaxen-designer_"$version"_*.deb 2>/dev/null)
if [ -z "$package" ]; then
    echo "FAIL: no vorlaxen-designer_${version}_<arch>.deb among: $(ls "$work")"
    exit 1
fi
[ "$(dpkg-deb -f "$package" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$package" Version)"

expected=$(printf '%s\n' "$@" | sort)
packed=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort)
if [ "$packed" != "$expected" ]; then
    fail "files differ (< expected, > in the package):"
    printf '%s\n' "$expected" >"$work/expected"
    printf '%s\n' "$packed" >"$work/packed"
    diff "$work/expected" "$work/packed"
fi

depends=$(dpkg-deb -f "$package" Depends)
for name in $(echo "$needed" | tr ',' ' '); do
    printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -qxF "$name" ||
        fail "Depends lacks $name: $depends"
done

dpkg-deb -x "$package" "$work/root"
for program in "$work"/root/usr/bin/*; do
    file -b "$program" | grep -q ', stripped' || fail "not stripped: ${program#"$work"/root/}"
done
[ "$failures" -eq 0 ]
