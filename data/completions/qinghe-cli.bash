# bash completion for qinghe-cli                           -*- shell-script -*-
#
# Completes the subcommands, the operations of `table`, `journal` and `pay`, their
# options, the overtime kinds, table files (*.edb), folders, the rules of
# `holidays` and `days`, the options and input file of `tax`, and the options
# of `contributions`.

_qinghe_cli() {
    local cur prev words cword
    _init_completion || return

    local subcommands='version wage tax contributions lunar holidays days table journal pay'
    local table_ops='create info dump append delete-last pack zap sort copy passwd check'
    local journal_ops='init record sort totals grid export chart'
    local pay_ops='list settle'

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$subcommands --help" -- "$cur"))
        return
    fi

    case $prev in
        --password | --year | --hired | --medical | --base | --fund-base | --rates | --fixed | --month) return ;;
        --kind)
            COMPREPLY=($(compgen -W 'G1 G2 G3 事假 病假 旷工' -- "$cur"))
            return
            ;;
        --dir)
            _filedir -d
            return
            ;;
        --output)
            _filedir csv
            return
            ;;
        --rules)
            COMPREPLY=($(compgen -W 'seed current' -- "$cur"))
            return
            ;;
        --bonus)
            COMPREPLY=($(compgen -W 'separate merged' -- "$cur"))
            return
            ;;
        --fund-rounding)
            COMPREPLY=($(compgen -W 'fen yuan' -- "$cur"))
            return
            ;;
    esac

    local op=${words[2]}
    case ${words[1]} in
        holidays | days)
            [[ $cur == -* ]] && COMPREPLY=($(compgen -W '--rules' -- "$cur"))
            ;;
        tax)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W '--low-income --first-wages --hired --bonus --medical' -- "$cur"))
            else
                _filedir
            fi
            ;;
        contributions)
            [[ $cur == -* ]] && COMPREPLY=($(compgen -W '--base --fund-base --rates --fixed --fund-rounding --month --dir' -- "$cur"))
            ;;
        table)
            if ((cword == 2)); then
                COMPREPLY=($(compgen -W "$table_ops" -- "$cur"))
            elif [[ $cur == -* ]]; then
                local options='--password'
                [[ $op == @(info|dump|sort|copy) ]] && options+=' --read-only'
                COMPREPLY=($(compgen -W "$options" -- "$cur"))
            elif ((cword == 3)) || [[ $op == @(sort|copy) && $cword == 4 ]]; then
                _filedir '@(edb|EDB)'
            fi
            ;;
        journal)
            if ((cword == 2)); then
                COMPREPLY=($(compgen -W "$journal_ops" -- "$cur"))
            elif [[ $cur == -* ]]; then
                local options='--dir --password'
                case $op in
                    record) options+=' --kind --night' ;;
                    export) options+=' --output' ;;
                    chart) options+=' --year --output --rules' ;;
                esac
                COMPREPLY=($(compgen -W "$options" -- "$cur"))
            fi
            ;;
        pay)
            if ((cword == 2)); then
                COMPREPLY=($(compgen -W "$pay_ops" -- "$cur"))
            elif [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W '--year --dir --password' -- "$cur"))
            fi
            ;;
    esac
} &&
    complete -F _qinghe_cli qinghe-cli

# ex: filetype=sh
