#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass their validators without a remark.
#   check-desktop-metadata.sh DESKTOP_ENTRY METAINFO
# Skipped (77) when a validator is not installed (packages desktop-file-utils, appstream).
set -uo pipefail
desktop=$1 metainfo=$2
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
failures=0
if ! remarks=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $remarks ]]; then
    echo "FAIL: desktop-file-validate $desktop:"
    echo "$remarks"
    failures=$((failures + 1))
fi
if ! remarks=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1); then
    echo "FAIL: appstreamcli validate $metainfo:"
    echo "$remarks"
    failures=$((failures + 1))
fi
((failures == 0)) && echo "ok: $(basename "$desktop") and $(basename "$metainfo") are valid"
exit $((failures > 0))
