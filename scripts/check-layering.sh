#!/usr/bin/env bash
# The layering of src/, from the includes: each folder includes only from the
# folders listed for it (so no arrow runs back up and there are no circles),
# Qt only in the window's folders, and, inside the record store, its public
# header only in the registry's own sources (those that define Registry's
# members). Prints every include that breaks a rule; fails on any.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A may_include=(
    [common]="common"
    [lunar]="common lunar"
    [wages]="common lunar wages"
    [recordstore]="common recordstore"
    [journal]="common lunar wages recordstore journal"
    [pictures]="common lunar wages journal pictures"
    [drawing]="common pictures drawing"
    [cli]="common lunar wages recordstore journal pictures drawing cli"
    [ui]="common drawing ui"
    [app]="common lunar wages recordstore journal pictures drawing ui app"
)
with_qt=" drawing ui app "

faults=0
fault() {
    echo "$1"
    faults=$((faults + 1))
}

for dir in src/*/; do
    folder=$(basename "$dir")
    if [ -z "${may_include[$folder]+set}" ]; then
        fault "src/$folder: a folder the layering does not know (add it to scripts/check-layering.sh)"
        continue
    fi
    allowed=" ${may_include[$folder]} "
    while IFS=: read -r file line text; do
        if [[ $text =~ ^#include\ \"([a-z_]+)/ ]]; then
            from=${BASH_REMATCH[1]}
            [[ $allowed == *" $from "* ]] || fault "$file:$line: $folder must not include $from/"
        elif [[ $text =~ ^#include\ \<Q ]]; then
            [[ $with_qt == *" $folder "* ]] || fault "$file:$line: $folder must not include Qt"
        fi
    done < <(grep -rnE '^#include ("[a-z_]+/|<Q)' "$dir" || true)
done

for file in $(grep -rl '#include "recordstore/record_store.h"' src/recordstore || true); do
    grep -q 'Registry::' "$file" && [[ $file == *.cpp ]] ||
        fault "$file: includes recordstore/record_store.h but is none of the registry's sources"
done

[ "$faults" -eq 0 ] || { echo "$faults layering faults"; exit 1; }
