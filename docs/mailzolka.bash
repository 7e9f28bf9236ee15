# bash completion for mailzolka: commands, options, the values of --view, --encoding and --sort,
# files (names with blanks kept whole). Plain bash (compgen), so it works with or without the
# bash-completion package.
_mailzolka_reply() {  # one reply per line of compgen's output, blanks and all
  mapfile -t COMPREPLY < <(compgen "$@")
}

_mailzolka() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  COMPREPLY=()
  local commands="mails show list ids register session help"
  if [[ $COMP_CWORD -eq 1 ]]; then
    _mailzolka_reply -W "$commands --help --version" -- "$cur"
    return
  fi
  if [[ ${COMP_WORDS[1]} == help ]]; then
    [[ $COMP_CWORD -eq 2 ]] && _mailzolka_reply -W "$commands" -- "$cur"
    return
  fi
  case $prev in
    --view) _mailzolka_reply -W "received received-by-id sent sent-by-id by-id 1 2 3 4 5" -- "$cur"; return ;;
    --encoding) _mailzolka_reply -W "auto cp932 utf-8" -- "$cur"; return ;;
    --sort) _mailzolka_reply -W "count id name" -- "$cur"; return ;;
    --profile-dir) _mailzolka_reply -d -- "$cur"; return ;;
    --from|--to|--with|--subject|--since|--until) return ;;
  esac
  if [[ $cur == -* ]]; then
    local options="--help --addin --encoding"
    case ${COMP_WORDS[1]} in
      mails) options+=" --window --from --to --with --subject -i --since --until --received --sent
                        --tsv --csv --json --show" ;;
      list) options+=" --window --view --tsv --json" ;;
      ids) options+=" --window --sort --json --csv" ;;
      register) options+=" --window --profile-dir" ;;
      session) options+=" --profile-dir" ;;
    esac
    _mailzolka_reply -W "$options" -- "$cur"
    return
  fi
  _mailzolka_reply -f -- "$cur"
}
complete -o filenames -F _mailzolka mailzolka
