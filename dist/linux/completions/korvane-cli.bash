# bash completion for korvane-cli. The options of each command are those of
# its command table; a test keeps the two in step.
_korvane_cli()
{
    local current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD-1]}
    local commands="list search show export import backup restore check version help"
    if [[ $COMP_CWORD -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands -h --help -V --version" -- "$current"))
        return
    fi
    local options formats
    case ${COMP_WORDS[1]} in
        list) options="-d --database -f --format -q --quiet -h --help" formats="table csv json" ;;
        search) options="-d --database -f --format -q --quiet -h --help" formats="table csv json" ;;
        show) options="-d --database -f --format -q --quiet -h --help" formats="text csv json" ;;
        export) options="-d --database -f --format -o --output --spreadsheet-safe --force -q --quiet -h --help" formats="csv json keepass-xml" ;;
        import) options="-d --database -f --format --dry-run --keep-duplicates -q --quiet -h --help" formats="csv json keepass-xml" ;;
        backup) options="--force -q --quiet -h --help" ;;
        restore) options="-q --quiet -h --help" ;;
        check) options="-d --database -q --quiet -h --help" ;;
        version) options="-q --quiet -h --help" ;;
        help) COMPREPLY=($(compgen -W "$commands" -- "$current")); return ;;
    esac
    case $previous in
        -d | --database) COMPREPLY=($(compgen -W "1 2 3 4 work games tools misc all" -- "$current")); return ;;
        -f | --format) COMPREPLY=($(compgen -W "$formats" -- "$current")); return ;;
    esac
    if [[ $current == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$current"))
    else
        COMPREPLY=($(compgen -f -- "$current"))
    fi
}
complete -o filenames -F _korvane_cli korvane-cli
