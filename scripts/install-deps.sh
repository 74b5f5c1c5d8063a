#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and
# only those that are missing, with any further packages named as arguments.
# Runs apt-get as root, through sudo otherwise.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-translations-l10n
    qt6-svg-dev                                             # the pictures' SVG files
    libgtest-dev libgmock-dev libbenchmark-dev
    nettle-dev liberfa-dev
    libsqlite3-dev libicu-dev
    clang libclang-rt-14-dev clang-format clang-tidy
    fonts-wqy-microhei
    fonts-arphic-uming                                      # a serif Chinese face the window must not take
    librsvg2-bin                                            # the icon's sizes, made at build time
    cmark                                                   # the user guide's page, made from the README
    desktop-file-utils appstream man-db bash-completion     # checks of an install
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
