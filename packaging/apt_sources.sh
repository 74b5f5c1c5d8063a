# shellcheck shell=bash
# Sourced by try-in-debian.sh and its test: the package sources of an apt
# configuration, so that the scripts take the mirror and suites from the
# system they run on instead of naming any host themselves.
#
# apt_sources APT_DIR prints one line "URI SUITE COMPONENT..." for each binary
# ("deb") source and suite in APT_DIR/sources.list and in the files of
# APT_DIR/sources.list.d, one-line (*.list) and deb822 (*.sources) alike, in
# the order apt reads them. Comments, deb-src entries and deb822 stanzas with
# "Enabled: no" are left out; a one-line entry's [options] are dropped.
apt_sources() {
    local dir=$1 file
    for file in "$dir/sources.list" "$dir"/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        sed -e 's/#.*//' -e 's/^\([[:space:]]*deb[[:space:]]\+\)\[[^]]*\]/\1/' "$file" |
            awk '$1 == "deb" && NF >= 3 { line = $2 " " $3; for (i = 4; i <= NF; ++i) line = line " " $i; print line }'
    done
    for file in "$dir"/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed -e 's/#.*//' "$file" | awk '
            function flush(   n, suites, i) {
                if (types ~ /(^| )deb( |$)/ && enabled != "no" && uris != "") {
                    n = split(suites_, suites, " ")
                    split(uris, u, " ")
                    for (i = 1; i <= n; ++i) print u[1] " " suites[i] (components == "" ? "" : " " components)
                }
                types = ""; uris = ""; suites_ = ""; components = ""; enabled = ""
            }
            /^[ \t]*$/ { flush(); next }
            /^[ \t]/ { next }  # a continued field (Signed-By: keys)
            {
                key = tolower($1); sub(/:$/, "", key)
                value = $0; sub(/^[^:]*:[ \t]*/, "", value); gsub(/[ \t]+/, " ", value); sub(/ $/, "", value)
                if (key == "types") types = value
                else if (key == "uris") uris = value
                else if (key == "suites") suites_ = value
                else if (key == "components") components = value
                else if (key == "enabled") enabled = tolower(value)
            }
            END { flush() }'
    done
}

# The first source that debootstrap can fetch a system from: a release suite
# (no "-updates", "-security" or "/updates") over http or https. Prints
# "URI SUITE"; nothing when there is none.
release_source() {
    apt_sources "$1" | awk '$1 ~ /^https?:\/\// && $2 !~ /[-\/]/ { print $1 " " $2; exit }'
}
