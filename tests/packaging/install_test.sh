#!/usr/bin/env bash
# An install into a staging folder, checked as a distribution checks one:
# every file in its place and each icon of its size; the desktop entry, the
# AppStream metadata and the manual pages through their validators; one
# version everywhere; and every subcommand that qinghe-cli lists documented
# in its manual page and offered by its shell completions.
# usage: install_test.sh BUILD_DIR APP_ID VERSION
set -uo pipefail
build=$1 id=$2 version=$3

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() {
    printf 'FAIL %s\n' "$*"
    failures=$((failures + 1))
}

if ! DESTDIR=$stage cmake --install "$build" --prefix /usr >"$stage/install.log" 2>&1; then
    cat "$stage/install.log"
    echo "FAIL cmake --install"
    exit 1
fi
usr=$stage/usr
share=$usr/share
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
bash_completion=$share/bash-completion/completions/qinghe-cli
zsh_completion=$share/zsh/vendor-completions/_qinghe-cli
fish_completion=$share/fish/vendor_completions.d/qinghe-cli.fish

for program in qinghe qinghe-cli; do
    [ -x "$usr/bin/$program" ] || fail "no program bin/$program"
    [ -f "$share/man/man1/$program.1.gz" ] || fail "no manual page $program(1)"
done
for file in "$desktop" "$metainfo" "$share/icons/hicolor/scalable/apps/$id.svg" \
    "$share/doc/qinghe/guide/index.html" \
    "$bash_completion" "$zsh_completion" "$fish_completion"; do
    [ -f "$file" ] || fail "no ${file#"$stage"}"
done

# The guide's page shows its pictures from beside it, and holds both guides.
guide=$share/doc/qinghe/guide/index.html
for picture in $(grep -o '<img src="[^"]*"' "$guide" | sed 's/^<img src="//; s/"$//'); do
    [ -f "${guide%/*}/$picture" ] || fail "the guide's page shows $picture, which is not installed"
done
grep -q '<h2>使用说明</h2>' "$guide" && grep -q '<h2>User guide (English)</h2>' "$guide" ||
    fail "the guide's page lacks the Chinese or the English guide"
named=$(zcat "$share/man/man1/qinghe.1.gz" | grep -o '/[^ ]*/guide/index\.html')
[ -f "$stage$named" ] || fail "qinghe(1) names the guide '$named', which is not installed there"

# Each icon is a PNG of the size its folder names (the header's width, height).
for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$id.png
    header=$(od -An -tu1 -N24 "$png" 2>/dev/null | tr -s ' \n' ' ')
    expected=" 137 80 78 71 13 10 26 10 0 0 0 13 73 72 68 82 0 0 $((size / 256)) $((size % 256)) 0 0 $((size / 256)) $((size % 256))"
    [ "$header" = "$expected " ] || fail "icon ${size}x${size}: header$header"
done

# The validators say nothing against the files (informational notes aside).
out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
out=$(appstreamcli validate-tree --no-net "$stage" 2>&1) || fail "appstreamcli validate-tree: $out"
for page in "$share"/man/man1/*.1.gz; do
    out=$(LC_ALL=C.UTF-8 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man --warnings ${page##*/}: $out"
done

# One version: the program's, the metadata's newest release, the pages'.
[ "$("$usr/bin/qinghe-cli" version)" = "qinghe-cli $version" ] || fail "qinghe-cli version"
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$release" = "$version" ] || fail "the metadata's newest release is '$release', not $version"
for page in "$share"/man/man1/*.1.gz; do
    zcat "$page" | grep -q "^\.TH .*\"qinghe $version\"" || fail "${page##*/} is not of version $version"
done

# Every subcommand and operation of `qinghe-cli --help` ("  NAME USAGE", where
# a USAGE of "OP ... | OP ..." lists operations): its line in the manual page,
# its word in each completion, and the bash completion offers exactly them.
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$share/man/man1/qinghe-cli.1.gz" 2>/dev/null)
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$bash_completion"
completions() {  # completions WORD... : what bash offers for the last word
    COMP_WORDS=(qinghe-cli "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _qinghe_cli qinghe-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
    printf ' %s ' "${COMPREPLY[@]}"
}
documented() {  # documented WHAT WORD PHRASE COMPLETED
    grep -q "^ *$3\( \|$\)" <<<"$manual" || fail "qinghe-cli(1) does not describe '$3'"
    [[ $4 == *" $2 "* ]] || fail "bash does not complete '$1'"
    grep -qw -- "$2" "$zsh_completion" || fail "zsh does not complete '$1'"
    grep -qw -- "$2" "$fish_completion" || fail "fish does not complete '$1'"
}
help=$("$usr/bin/qinghe-cli" --help)
[ -n "$help" ] || fail "qinghe-cli --help printed nothing"
words() { tr -s ' ' '\n' | grep -v -e '^$' -e '^--help$' | sort | tr '\n' ' '; }
top=$(completions '')
names=()
while read -r name usage; do
    names+=("$name")
    documented "$name" "$name" "$name" "$top"
    [[ $usage == *" | "* ]] || continue
    under=$(completions "$name" '')
    ops=()
    while read -r op _; do
        ops+=("$op")
        documented "$name $op" "$op" "$name $op" "$under"
    done < <(tr '|' '\n' <<<"$usage" | sed 's/^ *//')
    # ... and bash offers nothing that the program does not have.
    [ "$(words <<<"$under")" = "$(words <<<"${ops[*]}")" ] ||
        fail "bash completes '$name' with$under, the program has ${ops[*]}"
done < <(grep '^  [a-z]' <<<"$help" | sed 's/^  //')
[ "$(words <<<"$top")" = "$(words <<<"${names[*]}")" ] ||
    fail "bash completes$top, the program has ${names[*]}"

# The form's keys that `qinghe-cli wage` names are those its page lists.
keys=$("$usr/bin/qinghe-cli" wage =1 2>&1 | sed -n 's/.*the keys are: //p')
[ -n "$keys" ] || fail "qinghe-cli wage does not name its keys"
for key in $keys; do
    grep -q "$key[,. ]" <<<"$manual" || fail "qinghe-cli(1) does not list the wage key $key"
done

# What the completion offers besides the subcommands.
mkdir "$stage/tables" && cd "$stage/tables" && touch 'a.edb' 'b.EDB' 'c.txt'
[ "$(completions table info '')" = " a.edb  b.EDB " ] || fail "table files: $(completions table info '')"
[ "$(completions table info a.edb --)" = " --password  --read-only " ] || fail "table info options"
[ "$(completions table dump a.edb --)" = " --password  --read-only " ] || fail "table dump options"
[ "$(completions table pack a.edb --)" = " --password " ] || fail "table pack options"
[ "$(completions journal record 2024-05-03 8 --kind '')" = " G1  G2  G3  事假  病假  旷工 " ] ||
    fail "journal record --kind"

[ "$failures" -eq 0 ] || exit 1
echo "install checks passed"
