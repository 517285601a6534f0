# SPDX-License-Identifier: MIT
# Bash completion for kalvira-convert: its options, their values, and files.
_kalvira_convert()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
    --columns) COMPREPLY=($(compgen -W 'nk eps' -- "$cur")); return ;;
    --unit) COMPREPLY=($(compgen -W 'nm um eV cm-1' -- "$cur")); return ;;
    --convention) COMPREPLY=($(compgen -W 'plus minus' -- "$cur")); return ;;
    --at|--range) return ;;
    -o|--output) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--columns --unit --at --range --convention --output -o --line-buffered --help --version' -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -o filenames -F _kalvira_convert kalvira-convert
