#!/usr/bin/env bash
# Runs the bash completion of lanternactl as bash would and compares what it offers with
# lanternactl's own --help: the commands, each command's options, the fields of set; and the
# files it offers where a command expects an .ini, .ncf or .json file.
#   check-completion.sh COMPLETION_SCRIPT LANTERNACTL
set -uo pipefail
completion=$1 lanternactl=$2
export LANTERNA_LANG=en
# shellcheck source=tests/docs/help-lists.sh
source "$(dirname "$0")/help-lists.sh"
name_the_lists "expected" "offered"

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

commands=$(lanternactl_commands "$lanternactl")
compare "commands" "$commands" "$(offers lanternactl "")"
compare "options before a command" "$(printf -- '--help\n--version')" "$(offers lanternactl -)"
for command in $commands; do
    compare "$command options" "$(isolated "$lanternactl" "$command" --help | help_options)" \
        "$(offers lanternactl "$command" 10.0.0.1 -)"
done

fields=$(set_fields "$lanternactl" | sed 's/$/=/' | sort)
compare "set fields" "$fields" "$(offers lanternactl set 10.0.0.1 "")"
compare "set fields by prefix" "$(printf 'mailTo1=\nmailTo2=\nmailTo3=')" \
    "$(offers lanternactl set 10.0.0.1 dhcp=on mailTo)"
compare "nothing after FIELD=" "" "$(offers lanternactl set 10.0.0.1 dhcp =)"
compare "--test-mail answers" "$(printf 'no\nyes')" "$(offers lanternactl set 10.0.0.1 --test-mail "")"

# Files: in a folder of one file of each kind and a sub-folder.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
touch site.ini ROOM-201.INI wired.ncf record.json notes.txt
mkdir rooms
ini=$(printf 'ROOM-201.INI\nrooms\nsite.ini')
compare "show: .ini files" "$ini" "$(offers lanternactl show "")"
compare "show: one file only" "" "$(offers lanternactl show site.ini "")"
compare "import-list: .ini files" "$ini" "$(offers lanternactl import-list "")"
compare "ncf-text: .ncf files" "$(printf 'rooms\nwired.ncf')" "$(offers lanternactl ncf-text "")"
compare "save --from: .json files" "$(printf 'record.json\nrooms')" \
    "$(offers lanternactl save --from "")"
compare "save -o: .ini files" "$ini" "$(offers lanternactl save --from record.json -o "")"
compare "ncf --from: .json and .ini files" "$(printf 'ROOM-201.INI\nrecord.json\nrooms\nsite.ini')" \
    "$(offers lanternactl ncf --wired --from "")"
compare "ncf -o: .ncf files" "$(printf 'rooms\nwired.ncf')" \
    "$(offers lanternactl ncf --wired --from site.ini -o "")"
compare "apply: the settings file first" "$ini" "$(offers lanternactl apply "")"
compare "apply: targets after it" "" "$(offers lanternactl apply site.ini "")"
compare "apply --template: .ini files" "$ini" "$(offers lanternactl apply --template "")"
compare "apply --template: targets after it" "" \
    "$(offers lanternactl apply --template site.ini "")"
compare "--targets: any file" "$(printf 'ROOM-201.INI\nnotes.txt\nrecord.json\nrooms\nsite.ini\nwired.ncf')" \
    "$(offers lanternactl read --targets "")"
compare "by prefix" "site.ini" "$(offers lanternactl show si)"

if ((failures > 0)); then
    echo "$failures difference(s)"
    exit 1
fi
