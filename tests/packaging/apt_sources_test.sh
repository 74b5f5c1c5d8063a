#!/usr/bin/env bash
# packaging/try-in-debian.sh's pieces that run without root: the sources it
# takes from an apt configuration (here one in a temporary folder, both
# formats), and what the script itself names.
# usage: apt_sources_test.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
. "$source_dir/packaging/apt_sources.sh"
apt=$(mktemp -d)
trap 'rm -rf "$apt"' EXIT
failures=0
expect() {  # expect WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || { printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"; failures=$((failures + 1)); }
}

mkdir "$apt/sources.list.d"
cat >"$apt/sources.list" <<'LIST'
# deb http://commented.example/debian bookworm main
deb-src http://a.example/debian bookworm main
deb [arch=amd64 signed-by=/k.gpg] http://a.example/debian bookworm-updates main contrib # note
deb file:/srv/mirror bookworm main
LIST
cat >"$apt/sources.list.d/debian.sources" <<'LIST'
Types: deb deb-src
URIs: http://b.example/debian
Suites: bookworm bookworm-updates
Components: main non-free-firmware
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: https://b.example/debian-security
Suites: bookworm-security
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 -----END PGP PUBLIC KEY BLOCK-----

Types: deb
Enabled: no
URIs: http://c.example/debian
Suites: trixie
Components: main
LIST
expect sources "http://a.example/debian bookworm-updates main contrib
file:/srv/mirror bookworm main
http://b.example/debian bookworm main non-free-firmware
http://b.example/debian bookworm-updates main non-free-firmware
https://b.example/debian-security bookworm-security main" "$(apt_sources "$apt")"
expect release "http://b.example/debian bookworm" "$(release_source "$apt")"
expect no-release "" "$(release_source "$apt/sources.list.d")"

script=$source_dir/packaging/try-in-debian.sh
expect no-host-named "" "$(grep -nE '[a-z]+://' "$script")"
expect xwd-installed "x11-apps" "$(grep -o 'x11-apps' "$script" | head -1)"
[ "$failures" -eq 0 ]
