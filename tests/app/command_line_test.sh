#!/bin/sh
# The designer's command line, run as a person would: --help and --version need no display, and a
# command line it does not know ends with status 2 before any window opens (a window would hang
# here until the test's time-out).
# Usage: command_line_test.sh <vorlaxen-designer> <version>
program=$1
version=$2
failures=0

# expect <status> <text on stdout or stderr> <arguments...>
expect() {
    status=$1 text=$2
    shift 2
    output=$(timeout 20 "$program" "$@" 2>&1)
    actual=$?
    if [ "$actual" -ne "$status" ] || ! printf '%s\n' "$output" | grep -qF -- "$text"; then
        printf 'FAIL: %s\n  wanted status %s and "%s", got status %s:\n%s\n' \
            "$*" "$status" "$text" "$actual" "$output"
        failures=$((failures + 1))
    fi
}

(
    # No display at all: only Qt's offscreen platform would be there to fall back on, and it
    # must not be needed.
    unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
    expect 0 "vorlaxen-designer $version" --version
    expect 0 "vorlaxen-designer $version" -v
    expect 0 "Usage: vorlaxen-designer [options]" --help
    expect 0 "-v, --version" -h
    # Qt's own options around ours are not read as ours (-reverse is not -v).
    expect 0 "Usage: vorlaxen-designer" -platform offscreen -reverse --help
    expect 2 "Unknown option 'bogus'" --bogus
    expect 2 "Unknown option 'bogus'" -style=fusion -reverse --bogus
    exit $failures
) || failures=$?

export QT_QPA_PLATFORM=offscreen
expect 2 "Unknown option 'bogus'" --bogus
expect 2 "Unknown option 'bogus'" -platform offscreen -reverse --bogus
expect 2 "Unexpected argument 'designs.csv'" designs.csv
expect 2 "Try 'vorlaxen-designer --help'" --verison

[ "$failures" -eq 0 ]
