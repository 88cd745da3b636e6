#!/usr/bin/env bash
# The generated bash completion offers what vorlaxen-calc takes, word by word as a user types.
set -u
source "$1"
compopt() { :; } # only meaningful inside a real completion

fail=0
check() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _vorlaxen_calc
    if [[ "${COMPREPLY[*]}" != "$expected" ]]; then
        echo "after '$*': expected '$expected', got '${COMPREPLY[*]}'"
        fail=1
    fi
}

check "cycle convert" vorlaxen-calc c
check "--version" vorlaxen-calc --v
check "--p2 --pressure-loss" vorlaxen-calc cycle --p
check "--comp-outlet-diameter --tip-speed --input --sweep --csv --json --columns --digits --help --version" \
    vorlaxen-calc max-rpm --
check "--units" vorlaxen-calc flame-tube --u
check "in mm cm none" vorlaxen-calc flame-tube --units ""
check "" vorlaxen-calc cycle --p2 ""
check "typed estimate turbine" vorlaxen-calc engine --mass-flow-source ""
check "typed" vorlaxen-calc engine --mass-flow-source Ty
check "mm" vorlaxen-calc flame-tube --units MM
check "" vorlaxen-calc cycle --digits ""
check "fit" vorlaxen-calc fi
check "--fit" vorlaxen-calc fit --fi
check "" vorlaxen-calc engine --fi
check "turbine-efficiency,mass-flow turbine-efficiency,mass-flow-factor" \
    vorlaxen-calc fit --fit turbine-efficiency,mass
check "p2= pressure-loss=" vorlaxen-calc cycle --sweep p
check "p2,thrust" vorlaxen-calc cycle --columns p2,thr
check "--csv" vorlaxen-calc cycle --p2 15 --cs
exit $fail
