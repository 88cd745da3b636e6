#!/bin/sh
# The desktop entry as Debian's validator sees it: any error or warning fails.
# Usage: check_desktop_entry.sh <file.desktop>
if ! command -v desktop-file-validate >/dev/null; then
    echo "SKIPPED: desktop-file-validate is not installed (Debian package desktop-file-utils)"
    exit 77
fi
output=$(desktop-file-validate "$1" 2>&1)
status=$?
printf '%s\n' "$output"
[ "$status" -eq 0 ] && [ -z "$output" ]
