# bash completion for fennick
_fennick() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local command=${COMP_WORDS[1]}
    case $prev in
    --format)
        if [ "$command" = status ]; then
            mapfile -t COMPREPLY < <(compgen -W "text json" -- "$cur")
        else
            mapfile -t COMPREPLY < <(compgen -W "text csv json" -- "$cur")
        fi
        return
        ;;
    --month | --at) return ;;
    esac
    if ((COMP_CWORD == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "in out toggle undo merge report status --background --help --version" -- "$cur")
        return
    fi
    local words
    case $command in
    in | out) words="--at --help" ;;
    report)
        words="--month --format --help"
        ((COMP_CWORD == 2)) && words="log daily monthly $words"
        ;;
    status) words="--format --help" ;;
    *) words="--help" ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}
complete -F _fennick fennick
