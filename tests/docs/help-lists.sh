# shellcheck shell=bash
# Sourced by the documentation checks: programs run without a network, the lists their --help
# gives, and the comparison of two lists, which counts its differences in `failures`.
failures=0
first_label="first" second_label="second"

# name_the_lists FIRST SECOND: how a difference names the lists that compare is given.
name_the_lists() {
    first_label=$1 second_label=$2
}

# Each program runs in a network namespace of its own when the system allows one (as root, or
# through a user namespace), so that a command that stopped honouring --help reaches no
# network.
isolation=()
if unshare -rn true 2>/dev/null; then
    isolation=(unshare -rn)
fi
isolated() {
    "${isolation[@]}" "$@"
}

# The option words (-x, --word, /word) of the lines on standard input, one per line, sorted.
option_words() {
    tr ' ,|"[]()' '\n' | grep -E '^(--?[a-z][a-z0-9-]*|/[a-z]+)$' | sort -u
}

# Option words of a --help text on standard input: the lines that begin with two spaces and
# an option, up to the first run of two spaces after it (where a description may begin).
help_options() {
    grep -E '^  [-/]' | sed -E 's/^  //; s/  .*//' | option_words
}

# The commands `LANTERNACTL --help` lists, sorted.
lanternactl_commands() {
    isolated "$1" --help |
        awk '/^Commands:/ { inside = 1; next } /^$/ { inside = 0 } inside && /^  [a-z]/ { print $1 }' |
        sort
}

# The fields `LANTERNACTL set --help` lists, sorted.
set_fields() {
    isolated "$1" set --help |
        awk '/^Fields/ { inside = 1; next } /^$/ { inside = 0 } inside && /^  [A-Za-z]/ { print $1 }' |
        sort
}

# compare WHAT FIRST SECOND: "ok" when the two sorted lists are equal, else their difference
# and one more failure.
compare() {
    local what=$1 first=$2 second=$3
    if [[ "$first" != "$second" ]]; then
        echo "FAIL: $what (< $first_label, > $second_label):"
        diff <(echo "$first") <(echo "$second") | grep '^[<>]'
        failures=$((failures + 1))
    else
        echo "ok: $what ($(echo "$first" | grep -c .))"
    fi
}
