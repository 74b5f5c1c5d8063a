#!/usr/bin/env bash
# Proves the package on a fresh Debian 12: makes a minimal system with
# debootstrap, installs build-deb/qinghe_*.deb there with apt as a user would,
# and starts the program as a desktop menu does, from its desktop entry (GLib's
# `gio launch`), as an ordinary user on a virtual X server. Saves the screen to
# build-deb/installed-window.png and fails when no window of the program
# appears. Run packaging/package-deb.sh first. Needs root (chroot). The
# mirror and the suites are this system's own (its apt sources).
set -euo pipefail
cd "$(dirname "$0")/.."
. packaging/apt_sources.sh
scripts/install-deps.sh debootstrap xvfb x11-utils x11-apps imagemagick
read -r mirror suite <<<"$(release_source /etc/apt)" || true
[ -n "${suite:-}" ] || { echo "no http(s) release suite in /etc/apt's sources" >&2; exit 1; }

package=$(echo build-deb/qinghe_*.deb)
[ -f "$package" ] || { echo "no package: run packaging/package-deb.sh first" >&2; exit 1; }
id=$(dpkg --fsys-tarfile "$package" | tar -t | sed -n 's|^\./usr/share/applications/\(.*\)\.desktop$|\1|p')

root=$(mktemp -d /var/tmp/qinghe-debian.XXXXXX)
chmod 755 "$root"
display=:$((90 + RANDOM % 9))
xvfb=""
# The processes whose root is the new system's (the program, its helpers,
# anything apt started): while one lives, its /dev and /proc stay busy.
processes_in_root() {
    local p
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && echo "${p#/proc/}"
    done
    return 0
}
cleanup() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    local signal m
    for signal in TERM KILL; do
        # shellcheck disable=SC2046
        kill -s "$signal" $(processes_in_root) 2>/dev/null || true
        for _ in $(seq 20); do [ -z "$(processes_in_root)" ] && break; sleep 0.1; done
    done
    for m in tmp/.X11-unix dev/pts dev proc; do
        for _ in 1 2 3 4 5; do
            mountpoint -q "$root/$m" || break
            umount "$root/$m" 2>/dev/null || sleep 0.5
        done
        # Still busy: detach it, so that nothing below it is ever removed.
        if mountpoint -q "$root/$m"; then umount --lazy "$root/$m"; fi
    done
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

echo "== a fresh Debian $suite in $root from $mirror"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >/dev/null
apt_sources /etc/apt | awk '$1 ~ /^https?:\/\// { print "deb " $0 }' >"$root/etc/apt/sources.list"
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

echo "== apt install ./${package##*/}"
cp "$package" "$root/tmp/"
in_root apt-get update -qq
in_root sh -c "cd /tmp && apt install -y ./${package##*/}" >"$root/tmp/apt.log" 2>&1 ||
    { cat "$root/tmp/apt.log"; exit 1; }
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' qinghe
# The launcher a desktop's menu uses, and an ordinary user to start it.
in_root apt-get install -y -qq --no-install-recommends libglib2.0-bin >/dev/null
in_root useradd --create-home clerk

echo "== the menu entry $id, started under Xvfb $display"
Xvfb "$display" -screen 0 1366x768x24 -nolisten tcp &
xvfb=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.2; done
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
grep -E '^(Exec|Categories)=' "$root/usr/share/applications/$id.desktop"
chroot --userspec=clerk:clerk "$root" env -i PATH=/usr/bin:/bin HOME=/home/clerk \
    DISPLAY="$display" LANG=C.UTF-8 gio launch "/usr/share/applications/$id.desktop"

# A window of the program on the screen: its class is the program's, and it
# is viewable (the toolkit also keeps unmapped helper windows).
program_window() {
    local w
    for w in $(xwininfo -display "$display" -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
        xprop -display "$display" -id "$w" WM_CLASS 2>/dev/null | grep -q '"qinghe"' &&
            xwininfo -display "$display" -id "$w" | grep -q 'IsViewable' &&
            { echo "$w"; return; }
    done
}
window=""
for _ in $(seq 100); do
    window=$(program_window)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "no window of the program appeared" >&2; exit 1; }
sleep 2  # let it paint
xwininfo -display "$display" -id "$window" | grep -E 'xwininfo|Width|Height'
xprop -display "$display" -id "$window" WM_CLASS _NET_WM_PID
xwd -display "$display" -root -silent | convert xwd:- build-deb/installed-window.png
pid=$(xprop -display "$display" -id "$window" _NET_WM_PID | awk '{print $3}')
kill "$pid"
echo "try-in-debian.sh: the installed program started from its menu entry; build-deb/installed-window.png"
