# bash completion for tavrel: its commands, the options of each and their values.
# Installed as share/bash-completion/completions/tavrel; needs nothing else.

# Sets COMPREPLY to the words of "$@" that begin with the word being completed.
_tavrel_offer() {
  local word
  COMPREPLY=()
  for word in "$@"; do
    [[ $word == "$cur"* ]] && COMPREPLY+=("$word")
  done
}

_tavrel() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=${COMP_WORDS[COMP_CWORD - 1]}
  local value_options='--threads --rules --bank-column --account-column --iban-column --delimiter --on --bind --port
    --directory --as-of --method --bank --max --count --seed --length --output -o'
  # bash cuts "--rules=cu" into "--rules", "=" and "cu".
  if [[ $cur == = ]]; then
    cur=''
  elif [[ $prev == = ]]; then
    prev=${COMP_WORDS[COMP_CWORD - 2]}
  fi

  # The value of an option; column names and ports are the user's own.
  case $prev in
    --rules) if [[ " ${COMP_WORDS[*]} " == *" selftest "* ]]; then
               _tavrel_offer 2009 current all
             else
               _tavrel_offer 2009 current
             fi
             return ;;
    --threads) _tavrel_offer 1 2 4 8 16; return ;;
    --delimiter) _tavrel_offer , "';'" "'|'" "'\\t'"; return ;;
    --on | --as-of) _tavrel_offer "$(date +%F)"; return ;;
    --output | -o) COMPREPLY=()
                 local path
                 while IFS= read -r path; do COMPREPLY+=("$path"); done < <(compgen -f -- "$cur")
                 return ;;
    --directory) _tavrel_offer 2009 current
                 local file
                 while IFS= read -r file; do COMPREPLY+=("$file"); done < <(compgen -f -- "$cur")
                 return ;;
    --bind) _tavrel_offer 127.0.0.1 ::1 localhost; return ;;
    --method) _tavrel_offer $("${COMP_WORDS[0]}" rules 2>/dev/null | cut -f3 | tr ' ' '\n' | sort -u)
              return ;;
    --length) _tavrel_offer 1 2 3 4 5 6 7 8 9 10; return ;;
    --bank-column | --account-column | --iban-column | --port | --bank | --max | --count | --seed)
      COMPREPLY=(); return ;;
  esac

  # The command is the first word that is neither an option nor its value.
  local command='' operands=0 i
  for ((i = 1; i < COMP_CWORD; i++)); do
    local word=${COMP_WORDS[i]}
    if [[ " $value_options " == *" $word "* ]]; then
      [[ ${COMP_WORDS[i + 1]} == = ]] && ((i++))
      ((i++))
    elif [[ $word != -* || $word == - ]]; then
      if [[ -z $command ]]; then command=$word; else ((operands++)); fi
    fi
  done

  local options
  case $command in
    '') if [[ $cur == -* ]]; then
          _tavrel_offer --help -h --version
        else
          _tavrel_offer help check name method search rules directory explain suggest generate selftest iban serve
        fi
        return ;;
    help) if ((operands == 0)); then
            _tavrel_offer check name method search rules directory explain suggest generate selftest iban serve
          else
            COMPREPLY=()
          fi
          return ;;
    check) options='--rules --threads --csv --bank-column --account-column --iban-column
                    --delimiter --no-header --verbose --json' ;;
    iban) options='--from --rules --threads --json' ;;
    method) options='--rules --threads --json'
            # The first operand is a method code: those of every rule generation.
            if ((operands == 0)) && [[ $cur != -* ]]; then
              _tavrel_offer $("${COMP_WORDS[0]}" rules 2>/dev/null | cut -f3 | tr ' ' '\n' | sort -u)
              return
            fi ;;
    search) options='--fuzzy --json' ;;
    name) options='--json' ;;
    directory) options='--json' ;;
    explain) options='--method --rules --json' ;;
    suggest) options='--max --bank-codes --rules --json' ;;
    generate) options='--bank --method --count --seed --length --invalid --rules --json' ;;
    selftest) options='--rules --json' ;;
    rules) options='--json --on' ;;
    serve) options='--bind --port --threads' ;;
    *) options='' ;;
  esac
  case $command in
    check | method | name | search | directory | explain | suggest | generate | iban)
      options+=' --directory --as-of --strict' ;;
  esac
  case $command in
    check | method | iban) options+=' --header --output --summary --no-summary --fail-on-invalid' ;;
  esac
  if [[ $cur == -* ]]; then
    _tavrel_offer $options --help
  else
    COMPREPLY=()
  fi
}

complete -F _tavrel tavrel
