#!/usr/bin/env bash
# Runs the bash completion of lanternactl as bash would and compares what it offers with
# lanternactl's own --help: the commands, each command's options, the fields of set; and the
# files it offers where a command expects an .ini, .ncf or .json file.
#   check-completion.sh COMPLETION_SCRIPT LANTERNACTL
set -uo pipefail
completion=$1 lanternactl=$2
export LANTERNA_LANG=en
failures=0

isolation=()
if unshare -rn true 2>/dev/null; then
    isolation=(unshare -rn)  # no network for the program even if --help stopped working
fi
isolated() {
    "${isolation[@]}" "$@"
}

# shellcheck source=/dev/null
source "$completion"
if [[ "$(complete -p lanternactl 2>/dev/null)" != "complete -F _lanternactl lanternactl" ]]; then
    echo "FAIL: the script does not register _lanternactl for lanternactl"
    exit 1
fi

# What the completion offers for a command line whose last word is being completed, sorted.
offers() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _lanternactl lanternactl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    if ((${#COMPREPLY[@]} > 0)); then
        printf '%s\n' "${COMPREPLY[@]}" | sort
    fi
}

expect() {
    local what=$1 expected=$2 offered=$3
    if [[ "$expected" != "$offered" ]]; then
        echo "FAIL: $what (< expected, > offered):"
        diff <(echo "$expected") <(echo "$offered") | grep '^[<>]'
        failures=$((failures + 1))
    else
        echo "ok: $what"
    fi
}

help_options() {
    grep -E '^  -' | sed -E 's/^  //; s/  .*//' | tr ' ,|' '\n' |
        grep -E '^--?[a-z][a-z0-9-]*$' | sort -u
}

commands=$(isolated "$lanternactl" --help |
    awk '/^Commands:/ { inside = 1; next } /^$/ { inside = 0 } inside && /^  [a-z]/ { print $1 }' |
    sort)
expect "commands" "$commands" "$(offers lanternactl "")"
expect "options before a command" "$(printf -- '--help\n--version')" "$(offers lanternactl -)"
for command in $commands; do
    expect "$command options" "$(isolated "$lanternactl" "$command" --help | help_options)" \
        "$(offers lanternactl "$command" 10.0.0.1 -)"
done

fields=$(isolated "$lanternactl" set --help |
    awk '/^Fields/ { inside = 1; next } /^$/ { inside = 0 } inside && /^  [A-Za-z]/ { print $1 "=" }' |
    sort)
expect "set fields" "$fields" "$(offers lanternactl set 10.0.0.1 "")"
expect "set fields by prefix" "$(printf 'mailTo1=\nmailTo2=\nmailTo3=')" \
    "$(offers lanternactl set 10.0.0.1 dhcp=on mailTo)"
expect "nothing after FIELD=" "" "$(offers lanternactl set 10.0.0.1 dhcp =)"
expect "--test-mail answers" "$(printf 'no\nyes')" "$(offers lanternactl set 10.0.0.1 --test-mail "")"

# Files: in a folder of one file of each kind and a sub-folder.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch site.ini ROOM-201.INI wired.ncf record.json notes.txt
mkdir rooms
ini=$(printf 'ROOM-201.INI\nrooms\nsite.ini')
expect "show: .ini files" "$ini" "$(offers lanternactl show "")"
expect "show: one file only" "" "$(offers lanternactl show site.ini "")"
expect "import-list: .ini files" "$ini" "$(offers lanternactl import-list "")"
expect "ncf-text: .ncf files" "$(printf 'rooms\nwired.ncf')" "$(offers lanternactl ncf-text "")"
expect "save --from: .json files" "$(printf 'record.json\nrooms')" \
    "$(offers lanternactl save --from "")"
expect "save -o: .ini files" "$ini" "$(offers lanternactl save --from record.json -o "")"
expect "ncf --from: .json and .ini files" "$(printf 'ROOM-201.INI\nrecord.json\nrooms\nsite.ini')" \
    "$(offers lanternactl ncf --wired --from "")"
expect "ncf -o: .ncf files" "$(printf 'rooms\nwired.ncf')" \
    "$(offers lanternactl ncf --wired --from site.ini -o "")"
expect "apply: the settings file first" "$ini" "$(offers lanternactl apply "")"
expect "apply: targets after it" "" "$(offers lanternactl apply site.ini "")"
expect "apply --template: .ini files" "$ini" "$(offers lanternactl apply --template "")"
expect "apply --template: targets after it" "" \
    "$(offers lanternactl apply --template site.ini "")"
expect "--targets: any file" "$(printf 'ROOM-201.INI\nnotes.txt\nrecord.json\nrooms\nsite.ini\nwired.ncf')" \
    "$(offers lanternactl read --targets "")"
expect "by prefix" "site.ini" "$(offers lanternactl show si)"

if ((failures > 0)); then
    echo "$failures difference(s)"
    exit 1
fi
