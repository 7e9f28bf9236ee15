# bash completion for mailzolka: commands, options, --view and --encoding values, files.
_mailzolka() {
  local cur prev words cword
  _init_completion || return
  if [[ $cword -eq 1 ]]; then
    COMPREPLY=($(compgen -W "list ids register session help --help --version" -- "$cur"))
    return
  fi
  case $prev in
    --view) COMPREPLY=($(compgen -W "1 2 3 4 5" -- "$cur")); return ;;
    --encoding) COMPREPLY=($(compgen -W "auto cp932 utf-8" -- "$cur")); return ;;
    --profile-dir) _filedir -d; return ;;
    --addin|--csv) _filedir; return ;;
  esac
  if [[ $cur == -* ]]; then
    local options="--addin --encoding"
    case ${words[1]} in
      list) options+=" --view --all --tsv --json" ;;
      ids) options+=" --all --json --csv" ;;
      register) options+=" --all --profile-dir" ;;
      session) options+=" --profile-dir" ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
    return
  fi
  _filedir
}
complete -F _mailzolka mailzolka
