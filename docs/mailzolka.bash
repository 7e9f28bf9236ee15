# bash completion for mailzolka: commands, options, --view and --encoding values, files. Plain
# bash (compgen), so it works with or without the bash-completion package.
_mailzolka() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  COMPREPLY=()
  if [[ $COMP_CWORD -eq 1 ]]; then
    COMPREPLY=($(compgen -W "list ids register session help --help --version" -- "$cur"))
    return
  fi
  case $prev in
    --view) COMPREPLY=($(compgen -W "1 2 3 4 5" -- "$cur")); return ;;
    --encoding) COMPREPLY=($(compgen -W "auto cp932 utf-8" -- "$cur")); return ;;
    --profile-dir) COMPREPLY=($(compgen -d -- "$cur")); return ;;
  esac
  if [[ $cur == -* ]]; then
    local options="--addin --encoding"
    case ${COMP_WORDS[1]} in
      list) options+=" --view --all --tsv --json" ;;
      ids) options+=" --all --json --csv" ;;
      register) options+=" --all --profile-dir" ;;
      session) options+=" --profile-dir" ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  COMPREPLY=($(compgen -f -- "$cur"))
}
complete -o filenames -F _mailzolka mailzolka
