# Bash completion of lanternactl: commands, each command's options, the field names of set,
# and .ini, .ncf or .json files where a command expects one. It needs nothing beyond bash.

_lanternactl_commands="version show save ncf ncf-text import-list discover probe query read
    inventory audit status power set apply passwd backup provision restore diff history undo watch"

_lanternactl_fields="projectorName dhcp ipAddress subnetMask gateway dns1 dns2 dnsDomain
    wins1 wins2 primaryInterface mailNotify smtpServer smtpPort mailTo1 mailTo2 mailTo3
    mailEvents1 mailEvents2 mailEvents3 trapAddress1 trapAddress2 community essid adhoc
    wepEnabled wepKey security wepKeyId wepKey1 wepKey2 wepKey3 wepKey4"

# The options of one command, as its --help lists them.
_lanternactl_options() {
    local targets="--all --targets" passwords="-j --jobs --password-file --passwords"
    local writing="--dry-run --protocol --force --verify --no-verify --settle --test-mail --max-failures"
    case $1 in
        save) echo "--from -o --output" ;;
        ncf) echo "--wired --wireless --from -o" ;;
        discover) echo "--json --csv --wait" ;;
        probe) echo "$targets --json --wait" ;;
        query) echo "$targets $passwords --json --wait" ;;
        read) echo "$targets $passwords --type --json --wait --keyring --show-secrets" ;;
        audit) echo "$targets $passwords --type --json --wait --keyring --pjlink-passwords --lamp-hours" ;;
        status) echo "$targets -j --jobs --json --csv --wait --pjlink-passwords --keyring" ;;
        power) echo "on off $targets -j --jobs --yes --dry-run --wait --pjlink-passwords --keyring" ;;
        inventory) echo "$targets $passwords --type --csv --json --wait --settable --keyring --pjlink-passwords" ;;
        set) echo "$targets $passwords --type --json $writing --wait --keyring" ;;
        apply) echo "--template $targets $passwords --type --json $writing --wait --keyring" ;;
        passwd) echo "$targets $passwords --new-password-file --type --json --wait --keyring --dry-run" ;;
        backup) echo "$targets $passwords --type --json --wait --keyring" ;;
        provision | restore) echo "$targets $passwords --type --json $writing --wait --keyring" ;;
        diff) echo "$targets $passwords --json --wait --template --keyring" ;;
        history) echo "--password-file --passwords --type --json --wait --keyring --show-secrets" ;;
        undo) echo "$targets $passwords --type --json ${writing% --max-failures} --wait --keyring" ;;
        watch) echo "--check" ;;
    esac
    echo "--help"
}

# True when option $1 takes the next word as its value.
_lanternactl_takes_value() {
    case $1 in
        --from | -o | --output | --template | --targets | --passwords | --password-file | \
            --new-password-file | -j | --jobs | --type | --settle | --test-mail | --wait | \
            --max-failures | --pjlink-passwords | --lamp-hours)
            return 0
            ;;
    esac
    return 1
}

# Files of the current word whose name ends in one of the extensions given (any letter case),
# and folders to go into; no extension: every file.
_lanternactl_files() {
    local cur=$1 name lower extension
    shift
    compopt -o filenames 2>/dev/null
    while IFS= read -r name; do
        if [[ -d $name || $# -eq 0 ]]; then
            COMPREPLY+=("$name")
            continue
        fi
        lower=${name,,}
        for extension in "$@"; do
            if [[ $lower == *."$extension" ]]; then
                COMPREPLY+=("$name")
                break
            fi
        done
    done < <(compgen -f -- "$cur")
}

_lanternactl() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=""
    if ((COMP_CWORD > 0)); then
        prev=${COMP_WORDS[COMP_CWORD - 1]}
    fi
    COMPREPLY=()

    # The command, and how many plain words (not options, not their values) follow it.
    local command="" index word positional=0
    for ((index = 1; index < COMP_CWORD; index++)); do
        word=${COMP_WORDS[index]}
        if [[ -z $command ]]; then
            if [[ $word != -* ]]; then
                command=$word
            fi
        elif [[ $word != -* ]] && ! _lanternactl_takes_value "${COMP_WORDS[index - 1]}"; then
            positional=$((positional + 1))
        fi
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W "--help --version" -- "$cur")
        else
            mapfile -t COMPREPLY < <(compgen -W "$_lanternactl_commands" -- "$cur")
        fi
        return 0
    fi

    # The value of the option before the current word.
    case $prev in
        --from)
            if [[ $command == ncf ]]; then
                _lanternactl_files "$cur" json ini
            else
                _lanternactl_files "$cur" json
            fi
            return 0
            ;;
        -o | --output)
            if [[ $command == ncf ]]; then
                _lanternactl_files "$cur" ncf
            else
                _lanternactl_files "$cur" ini
            fi
            return 0
            ;;
        --template)
            _lanternactl_files "$cur" ini
            return 0
            ;;
        --targets | --passwords | --password-file | --new-password-file)
            _lanternactl_files "$cur"
            return 0
            ;;
        --test-mail)
            mapfile -t COMPREPLY < <(compgen -W "yes no" -- "$cur")
            return 0
            ;;
        -j | --jobs | --type | --settle | --wait | --max-failures)
            return 0
            ;;
    esac

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_lanternactl_options "$command")" -- "$cur")
        return 0
    fi
    # A value after "FIELD=" (bash splits the word at '='): nothing to offer.
    if [[ $cur == = || $prev == = ]]; then
        return 0
    fi

    case $command in
        show | import-list)
            if ((positional == 0)); then
                _lanternactl_files "$cur" ini
            fi
            ;;
        ncf-text)
            if ((positional == 0)); then
                _lanternactl_files "$cur" ncf
            fi
            ;;
        apply)
            # The settings file comes first unless --template named it.
            if ((positional == 0)) && [[ " ${COMP_WORDS[*]} " != *" --template "* ]]; then
                _lanternactl_files "$cur" ini
            fi
            ;;
        provision)
            if ((positional == 0)); then
                _lanternactl_files "$cur" csv
            fi
            ;;
        restore | diff)
            _lanternactl_files "$cur" ini
            ;;
        backup)
            # The folder comes first.
            if ((positional == 0)); then
                compopt -o filenames 2>/dev/null
                mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            fi
            ;;
        set)
            # FIELD=VALUE words; the targets before them are addresses, nothing to complete.
            compopt -o nospace 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -W "$_lanternactl_fields" -S "=" -- "$cur")
            ;;
    esac
    return 0
}

complete -F _lanternactl lanternactl
