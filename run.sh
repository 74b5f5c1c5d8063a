#!/usr/bin/env bash
# Installs what is missing, builds the program and qinghe-cli, and starts the
# window. Without a display to open the window on it says so before it
# builds, builds all the same (qinghe-cli needs no display) and exits with 1.
set -euo pipefail
cd "$(dirname "$0")"

# Whether there is a display to open a window on: a Wayland compositor's
# socket, or an X display. A local X display (":N") counts when its socket is
# there; a remote one (ssh's forwarding, "localhost:10") cannot be checked
# without a client and is taken at its word, as is a platform chosen through
# QT_QPA_PLATFORM.
has_display() {
    case ${QT_QPA_PLATFORM:-} in
        "" | xcb* | wayland*) ;;
        *) return 0 ;;
    esac
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        local socket=$WAYLAND_DISPLAY
        [[ $socket == /* ]] || socket=${XDG_RUNTIME_DIR:-/nonexistent}/$socket
        [ -S "$socket" ] && return 0
    fi
    case ${DISPLAY:-} in
        "") return 1 ;;
        :*)
            local number=${DISPLAY#:}
            number=${number%%.*}
            [ ! -d /tmp/.X11-unix ] || [ -S "/tmp/.X11-unix/X$number" ]
            ;;
        *) return 0 ;;
    esac
}

display=yes
if ! has_display; then
    display=no
    cat >&2 <<MESSAGE
run.sh: 这里没有可以打开窗口的显示器（DISPLAY=${DISPLAY:-未设置}，WAYLAND_DISPLAY=${WAYLAND_DISPLAY:-未设置}）。
        仍然编译程序，qinghe-cli 不需要显示器；窗口请在桌面里运行 ./run.sh 打开。
run.sh: there is no display to open the window on (DISPLAY=${DISPLAY:-unset},
        WAYLAND_DISPLAY=${WAYLAND_DISPLAY:-unset}). Building all the same, as qinghe-cli needs
        none; run ./run.sh in a desktop session (or with DISPLAY naming an X server) for the window.
MESSAGE
fi

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DQINGHE_TESTS=OFF >/dev/null
cmake --build build --target qinghe qinghe-cli

cat <<MESSAGE
qinghe-cli: build/src/cli/qinghe-cli; for the guide's examples:
    export PATH="$PWD/build/src/cli:\$PATH"
MESSAGE
if [ "$display" = no ]; then
    echo "run.sh: the window was not started: there is no display." >&2
    exit 1
fi
exec build/src/app/qinghe "$@"
