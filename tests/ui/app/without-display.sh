#!/usr/bin/env bash
# lanterna without a display: --help and --version print and exit 0; anything else prints one
# line on standard error and exits 1, never the toolkit's abort. That holds for a display that
# is named but not there, too.
#   without-display.sh LANTERNA
set -uo pipefail
lanterna=$1
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# In a network namespace of its own when the system allows one, so that even a window that
# started by mistake could reach no network (and no abstract X socket of this machine).
isolation=()
if unshare -rn true 2>/dev/null; then
    isolation=(unshare -rn)
fi

# Runs lanterna without any display variable, with the variables given before "--" added.
run() {
    local settings=()
    while [[ $1 != -- ]]; do
        settings+=("$1")
        shift
    done
    shift
    "${isolation[@]}" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "${settings[@]}" \
        timeout 30 "$lanterna" "$@" >"$work/out" 2>"$work/err"
    status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}

check() {
    local what=$1 condition=$2
    if eval "$condition"; then
        echo "ok: $what"
    else
        echo "FAIL: $what [status $status]"
        echo "  standard output: $out"
        echo "  standard error: $err"
        failures=$((failures + 1))
    fi
}

no_display_line() {
    [[ $status -eq 1 && -z $out && $(wc -l <"$work/err") -eq 1 && $err == lanterna:* &&
        $err == *"graphical session"* && $err == *lanternactl* ]]
}

run -- --help
check "--help prints the usage" '[[ $status -eq 0 && $out == "Usage: lanterna"* && -z $err ]]'
run -- -h /debug
check "-h too" '[[ $status -eq 0 && $out == "Usage: lanterna"* ]]'
run -- --version
check "--version prints the version" '[[ $status -eq 0 && $out =~ ^lanterna\ [0-9]+\.[0-9]+\.[0-9]+$ && -z $err ]]'
run -- 
check "no display: one line, status 1" no_display_line
run DISPLAY= -- /debug
check "an empty DISPLAY is none" no_display_line
run QT_QPA_PLATFORM=xcb -- /DEBUG
check "the X11 platform asked for without a display" no_display_line

# A display that is named but where no server listens: the toolkit itself fails to connect.
number=""
for candidate in $(seq 701 799); do
    socket=/tmp/.X11-unix/X$candidate
    if [[ ! -e $socket ]] && { ((${#isolation[@]} > 0)) || ! grep -q "@$socket\$" /proc/net/unix; }; then
        number=$candidate
        break
    fi
done
if [[ -n $number ]]; then
    run QT_QPA_PLATFORM=xcb DISPLAY=":$number" -- 
    check "a display with no server behind it (:$number)" no_display_line
else
    echo "skipped: no free display number to name"
fi

if ((failures > 0)); then
    echo "$failures failure(s)"
    exit 1
fi
