# SPDX-License-Identifier: MIT
# Bash completion for kalvira-convert: its options, their values, files, and
# the database's names a part at a time: shelf/, then shelf/book/, then the page.
_kalvira_convert_names()  # CUR: the names that continue it, from the database the command line gives
{
    local cur=$1 database=() i
    for ((i = 1; i < ${#COMP_WORDS[@]} - 1; i++)); do
        [ "${COMP_WORDS[i]}" != --database ] || database=(--database "${COMP_WORDS[i + 1]}")
    done
    "${COMP_WORDS[0]}" "${database[@]}" --list 2> /dev/null | awk -F '\t' -v cur="$cur" '
        index($1, cur) == 1 {
            depth = gsub("/", "/", cur) + 1
            n = split($1, part, "/")
            name = part[1]
            for (i = 2; i <= depth && i <= n; i++) name = name "/" part[i]
            if (depth < n) name = name "/"
            if (!seen[name]++) print name
        }'
}
_kalvira_convert()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    case $prev in
    --columns) COMPREPLY=($(compgen -W 'nk eps' -- "$cur")); return ;;
    --unit) COMPREPLY=($(compgen -W 'nm um eV cm-1' -- "$cur")); return ;;
    --convention) COMPREPLY=($(compgen -W 'plus minus' -- "$cur")); return ;;
    --at|--range) return ;;
    -o|--output) COMPREPLY=($(compgen -f -- "$cur")); return ;;
    --database) COMPREPLY=($(compgen -d -- "$cur")); return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--list --about --database --columns --unit --at --range --convention --output -o
                                  --line-buffered --help --version' -- "$cur"))
    else
        local IFS=$'\n'
        COMPREPLY=($(compgen -f -- "$cur") $(_kalvira_convert_names "$cur"))
        [[ ${#COMPREPLY[@]} != 1 || ${COMPREPLY[0]} != */ ]] || compopt -o nospace
    fi
}
complete -o filenames -F _kalvira_convert kalvira-convert
