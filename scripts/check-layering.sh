#!/usr/bin/env bash
# The layering of src/, from the includes: each folder includes only from the
# folders listed for it (so no arrow runs back up and there are no circles),
# Qt only in the window's folders, and files only through the platform's
# seam (no file headers of the system or the standard library outside
# src/platform). Inside the record store, its registry header only in the
# registry's own sources (those that define Registry's members); outside it,
# only its public headers (those whose first line says so), and in the
# window's folder none but its error table. Prints every include that breaks
# a rule; fails on any.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A may_include=(
    [platform]="platform"
    [common]="common"
    [lunar]="common lunar"
    [wages]="common lunar wages"
    [recordstore]="platform common recordstore"
    [journal]="platform common lunar wages recordstore journal"
    [pictures]="common lunar wages journal pictures"
    [drawing]="common pictures drawing"
    [payrecord]="platform common lunar wages recordstore journal payrecord"
    [datafolder]="platform common lunar wages recordstore journal payrecord datafolder"
    [cli]="platform common lunar wages recordstore journal payrecord datafolder pictures drawing cli"
    [ui]="common drawing ui"
    [app]="platform common lunar wages recordstore journal payrecord datafolder pictures drawing ui app"
)
with_qt=" drawing ui app "
# What reaches files, which only the platform's seam may use.
file_headers='filesystem|fstream|fcntl\.h|sys/stat\.h|dirent\.h'
public_mark='// Public header of the record store'
# The record store's header that the window's folder may include.
app_recordstore="errors.h"

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
        if [[ $text =~ ^#include\ \"([a-z_]+)/([a-z_./]+)\" ]]; then
            from=${BASH_REMATCH[1]}
            header=${BASH_REMATCH[2]}
            [[ $allowed == *" $from "* ]] || fault "$file:$line: $folder must not include $from/"
            if [[ $from == recordstore && $folder != recordstore ]]; then
                head -n 1 "src/recordstore/$header" 2>/dev/null | grep -qF "$public_mark" ||
                    fault "$file:$line: recordstore/$header is private to the record store"
                [[ $folder != app || $header == "$app_recordstore" ]] ||
                    fault "$file:$line: the window reaches the record store through the data folder"
            fi
        elif [[ $text =~ ^#include\ \<Q ]]; then
            [[ $with_qt == *" $folder "* ]] || fault "$file:$line: $folder must not include Qt"
        elif [[ $text =~ ^#include\ \<($file_headers)\> && $folder != platform ]]; then
            fault "$file:$line: $folder reaches files through src/platform, not <${BASH_REMATCH[1]}>"
        fi
    done < <(grep -rnE "^#include (\"[a-z_]+/|<Q|<($file_headers)>)" "$dir" || true)
done

for file in $(grep -rl '#include "recordstore/record_store.h"' src/recordstore || true); do
    grep -q 'Registry::' "$file" && [[ $file == *.cpp ]] ||
        fault "$file: includes recordstore/record_store.h but is none of the registry's sources"
done

[ "$faults" -eq 0 ] || { echo "$faults layering faults"; exit 1; }
