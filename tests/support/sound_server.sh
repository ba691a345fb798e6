#!/usr/bin/env bash
# A sound server of the tests' own: PulseAudio with one null output, on a
# socket in FOLDER, so that the tests of the real player have a sound device
# on machines without a sound card and never play through the user's speakers.
# Usage: sound_server.sh start|stop FOLDER
# Where PulseAudio is not installed, start does nothing and the tests that need
# a device skip themselves.
set -euo pipefail

action=$1
folder=$2

start() {
    if ! command -v pulseaudio >/dev/null; then
        echo "no pulseaudio: the tests of the real player skip themselves"
        return 0
    fi
    stop
    mkdir -p "$folder"
    # HOME and the runtime folder keep the server's cookie and state in FOLDER.
    HOME="$folder" PULSE_RUNTIME_PATH="$folder" PULSE_STATE_PATH="$folder" \
        pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no \
        --load="module-null-sink sink_name=tests" \
        --load="module-native-protocol-unix socket=$folder/native auth-anonymous=1" \
        >"$folder/log" 2>&1 &
    echo $! >"$folder/pid"
    for _ in $(seq 50); do
        if [[ -S "$folder/native" ]]; then
            echo "sound server at $folder/native"
            return 0
        fi
        sleep 0.1
    done
    echo "the sound server did not start; see $folder/log" >&2
    return 1
}

stop() {
    if [[ -f "$folder/pid" ]]; then
        kill "$(cat "$folder/pid")" 2>/dev/null || true
        rm -f "$folder/pid" "$folder/native"
    fi
}

case "$action" in
start) start ;;
stop) stop ;;
*) echo "usage: $0 start|stop FOLDER" >&2; exit 2 ;;
esac
