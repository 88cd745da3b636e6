#!/bin/sh
# The software-centre record: it shows every screenshot of the README and no other, its newest
# release and the package's changelog name the project's version, and AppStream's validator
# finds no error or warning.
# Usage: check_metainfo.sh <metainfo.xml> <screenshot folder> <version> <changelog>
metainfo=$1 screenshots=$2 version=$3 changelog=$4
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

shown=$(grep -o '/[^/<]*\.png</image>' "$metainfo" | sed 's#^/##; s#</image>$##' | sort)
present=$(cd "$screenshots" && ls -- *.png | sort)
[ "$shown" = "$present" ] || fail "screenshots in the record: $shown; in $screenshots: $present"

newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "newest release in the record is '$newest', the project is $version"
logged=$(head -n 1 "$changelog" | sed -n 's/^vorlaxen-designer (\([^)]*\)).*/\1/p')
[ "$logged" = "$version" ] || fail "newest changelog entry is '$logged', the project is $version"

[ "$failures" -eq 0 ] || exit 1
if ! command -v appstreamcli >/dev/null; then
    echo "SKIPPED: appstreamcli is not installed (Debian package appstream)"
    exit 77
fi
appstreamcli validate --no-net "$metainfo"
