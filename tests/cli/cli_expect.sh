# Shared by the qinghe-cli scripts: a scratch directory that is removed at
# the end, the checks, and `lines` for expected output with TABs. Sourced
# after `cli` is set; leaves `failures`.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

expect() {  # expect WHAT EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

status() {  # the exit status of a command
    set +e
    "$@" >/dev/null 2>&1
    echo $?
    set -e
}

tab=$(printf '\t')
lines() {  # the arguments as lines, "|" standing for a TAB
    printf '%s\n' "$@" | tr '|' "$tab"
}
