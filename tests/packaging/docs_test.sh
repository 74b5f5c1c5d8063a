#!/usr/bin/env bash
# The documents against what they describe: every qinghe-cli example of the
# README's guide runs as written and does what the guide says, the same in
# both languages; every Chinese text the guide quotes is one the programs
# have; the pictures the README and the metadata show exist at the
# size they state; the README's package list is what scripts/install-deps.sh
# installs.
# usage: docs_test.sh SOURCE_DIR CLI_DIR
set -uo pipefail
export LC_ALL=C.UTF-8  # the texts compared are Chinese
source_dir=$1 cli_dir=$2
readme=$source_dir/README.md

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    printf 'FAIL %s\n' "$*"
    failures=$((failures + 1))
}
between() {  # between OPEN CLOSE FILE: the lines strictly between two marker lines
    sed -n "\\|^$1\$|,\\|^$2\$|p" "$3" | sed '1d;$d'
}

# The guide's examples: the qinghe-cli lines of its sh blocks, comments left
# out. The English guide shows the same commands as the Chinese one.
guide=$(between '<!-- guide -->' '<!-- /guide -->' "$readme")
[ -n "$guide" ] || fail "README.md has no guide between its marker lines"
commands() {
    awk '/^```sh$/ { block = 1; next } /^```$/ { block = 0 } block && /^qinghe-cli /' |
        sed 's/  *#.*$//'
}
chinese=$(sed '/^## User guide (English)$/,$d' <<<"$guide" | commands)
english=$(sed -n '/^## User guide (English)$/,$p' <<<"$guide" | commands)
[ -n "$chinese" ] || fail "the guide shows no qinghe-cli example"
[ "$chinese" = "$english" ] ||
    fail "the English guide's examples differ from the Chinese ones:"$'\n'"$(diff <(echo "$chinese") <(echo "$english"))"

# ... run in order as a person would after ./run.sh: the built qinghe-cli
# first on the PATH, in a folder of their own, with a data folder of their own.
mkdir -p "$work/home" "$work/run"
while IFS= read -r command; do
    out=$(cd "$work/run" && env -u XDG_DATA_HOME HOME="$work/home" PATH="$cli_dir:$PATH" \
        bash -c "$command" 2>&1) || fail "the guide's example failed: $command"$'\n'"$out"
    case $command in
        "qinghe-cli wage "*)
            grep -qx '实发工资：5457.38' <<<"$out" || fail "$command: no 实发工资：5457.38 in"$'\n'"$out" ;;
        "qinghe-cli journal totals "*)
            grep -qx $'编辑框3加班小时数\t14' <<<"$out" || fail "$command: G3 hours are not 14 in"$'\n'"$out" ;;
    esac
done <<<"$chinese"
[ -f "$work/run/练习/加班.EDB" ] || fail "the examples made no journal in 练习"
[ -z "$(ls -A "$work/home")" ] || fail "the examples wrote into the data folder: $(ls -A "$work/home")"
rows=$(wc -l <"$work/run/加班.csv" 2>/dev/null)
[ "$rows" = 4 ] || fail "the exported journal has ${rows:-no} lines, not a header and the three days recorded"

# The texts the guide quotes ("…" or “…” holding Chinese) are the programs' own:
# each piece between the placeholders "……" and the colons "：" stands in src/.
while IFS= read -r quoted; do
    while IFS= read -r piece; do
        [ ${#piece} -lt 2 ] || grep -rqF --include='*.cpp' --include='*.h' -- "$piece" "$source_dir/src" ||
            fail "the guide quotes '$quoted', but no program has '$piece'"
    done < <(sed 's/……*/\n/g; s/…/\n/g; s/：/\n/g' <<<"$quoted")
done < <(grep -o '“[^”]*”\|"[^"]*[^ -~][^"]*"' <<<"$guide" | sed 's/^[“"]//; s/[”"]$//' | sort -u)

# The pictures: each that the README shows exists; each the metadata names
# exists at the size it gives.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }
grep -o '](docs/[^)]*)' "$readme" | sed 's/^](//; s/)$//' | sort -u | while read -r picture; do
    [ -f "$source_dir/$picture" ] || echo "FAIL the README shows $picture, which does not exist"
done | grep FAIL && failures=$((failures + 1))
while read -r width height path; do
    file=$source_dir/$path
    if [ ! -f "$file" ]; then
        fail "the metadata shows $path, which does not exist"
    elif [ "$(png_size "$file")" != "${width}x$height" ]; then
        fail "$path is $(png_size "$file"), the metadata says ${width}x$height"
    fi
done < <(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">@QINGHE_HOMEPAGE@/\(.*\)</image>.*|\1 \2 \3|p' \
    "$source_dir/data/qinghe.metainfo.xml.in")

# The packages the README lists are those the script installs.
listed=$(between '<!-- packages -->' '<!-- /packages -->' "$readme" | grep -o '`[^`]*`' | tr -d '`' | sort)
installed=$(sed -n '/^packages=(/,/^)/p' "$source_dir/scripts/install-deps.sh" |
    sed '1d;$d; s/#.*//' | tr -s ' \t' '\n' | grep -v -e '^$' -e '^"\$@"$' | sort)
[ -n "$installed" ] || fail "no package list found in scripts/install-deps.sh"
[ "$listed" = "$installed" ] ||
    fail "the README's packages differ from scripts/install-deps.sh's:"$'\n'"$(diff <(echo "$listed") <(echo "$installed"))"

[ "$failures" -eq 0 ] || exit 1
echo "document checks passed"
