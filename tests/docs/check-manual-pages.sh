#!/usr/bin/env bash
# Compares the commands, options and set fields of the manual pages with the programs' own
# --help, so that neither drifts from the other.
#   check-manual-pages.sh MAN_DIR SOURCE_MAN_DIR LANTERNACTL SIMULATOR [LANTERNA]
# MAN_DIR holds the configured pages (lanternactl.1, ...), SOURCE_MAN_DIR the pages of the source
# tree; LANTERNA is left out of a build without the window.
set -uo pipefail
man_dir=$1 source_man_dir=$2 lanternactl=$3 simulator=$4 window=${5:-}
export LANTERNA_LANG=en
# shellcheck source=tests/docs/help-lists.sh
source "$(dirname "$0")/help-lists.sh"
name_the_lists "--help" "manual page"

# Roff source as plain text: font changes dropped, "\-" as "-", "\e" as "\".
plain() {
    sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/\\e/\\/g' "$1"
}

# The lines of section $2 of page $1, up to the next .SH.
section() {
    plain "$1" | awk -v name="$2" '
        /^\.SH / { title = $0; sub(/^\.SH +"?/, "", title); sub(/"$/, "", title)
                   inside = (title == name); next }
        inside'
}

# The tags of the .TP entries on standard input.
tags() {
    awk 'after_tp { print; after_tp = 0; next } /^\.TP/ { after_tp = 1 }'
}

without_help() {
    grep -vxE -- '--help|-h' || true
}

# ---- lanterna-projector-sim and lanterna: one list of options each
compare "lanterna-projector-sim options" \
    "$(isolated "$simulator" --help | help_options)" \
    "$(section "$man_dir/lanterna-projector-sim.1" OPTIONS | tags | option_words)"
if [[ -n "$window" ]]; then
    compare "lanterna options" \
        "$(isolated env -u DISPLAY -u WAYLAND_DISPLAY "$window" --help | help_options)" \
        "$(section "$man_dir/lanterna.1" OPTIONS | tags | option_words)"
fi

# ---- lanternactl: its commands, each command's options, every option, the fields of set
page=$man_dir/lanternactl.1
help_commands=$(lanternactl_commands "$lanternactl")
page_commands=$(section "$page" COMMANDS |
    awk '/^\.SS / { sub(/^\.SS +"?/, ""); print $1 }' | sort)
compare "lanternactl commands" "$help_commands" "$page_commands"

all_options=""
for command in $help_commands; do
    from_help=$(isolated "$lanternactl" "$command" --help | help_options | without_help)
    # In the page: the .BR/.B lines after the command's "Options:" line.
    from_page=$(section "$page" COMMANDS | awk -v name="$command" '
        /^\.SS / { title = $0; sub(/^\.SS +"?/, "", title); split(title, words, " ")
                   inside = (words[1] == name); listing = 0; next }
        inside && /^Options:/ { listing = 1; next }
        inside && listing && /^\.BR? / { print; next }
        { listing = 0 }' | option_words | without_help)
    compare "lanternactl $command options" "$from_help" "$from_page"
    all_options+=$'\n'$from_help
done
compare "lanternactl options described" \
    "$(echo "$all_options" | grep . | sort -u)" \
    "$(section "$page" OPTIONS | tags | option_words | without_help | grep -vx -- '--version')"

compare "lanternactl set fields" \
    "$(set_fields "$lanternactl")" \
    "$(section "$page" FIELDS | tags | sed 's/\[[^]]*\]//g' | tr ' ,"' '\n' |
        grep -E '^[a-z][A-Za-z0-9]*$' | sort -u)"

# ---- every page is configured and carries the project's version
for name in lanterna lanternactl lanterna-projector-sim; do
    [[ -f "$man_dir/$name.1" ]] || continue
    if grep -qE '@[A-Z_]+@' "$man_dir/$name.1"; then
        echo "FAIL: $name.1 holds a variable left unconfigured"
        failures=$((failures + 1))
    fi
done
# ---- the version: in the configured pages and in the pages read from the source tree
version=$(isolated "$lanternactl" --version)
version=${version#lanternactl }
for page_file in "$man_dir"/*.1 "$source_man_dir"/*.1; do
    title=$(grep -m1 '^\.TH ' "$page_file")
    if [[ "$title" != *"\"Lanterna $version\""* ]]; then
        echo "FAIL: $page_file does not name version $version: $title"
        failures=$((failures + 1))
    fi
done

if ((failures > 0)); then
    echo "$failures difference(s)"
    exit 1
fi
