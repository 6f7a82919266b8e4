#!/usr/bin/env bash
# The manual page and the bash completion name every command and every
# option: the options come from the code (every "--word" the commands read)
# and from each command's --help, so a new option that misses either fails.
set -uo pipefail
tool=$1 source_dir=$2
man_page=$source_dir/packaging/tc101tool.1
completion=$source_dir/packaging/tc101tool.bash-completion
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The page as man shows it: hyphens plain, fonts gone.
page=$(MANWIDTH=200 man -l "$man_page" 2>/dev/null | sed 's/\x08.//g; s/‐/-/g')
[ -n "$page" ] || fail "man -l renders nothing"

# Completion as bash would run it, with the bash-completion helpers stubbed.
_init_completion() { words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; cur=${words[cword]}; prev=${words[cword - 1]}; }
_filedir() { :; }
compopt() { :; }
# shellcheck source=/dev/null
source "$completion"
complete_words() {  # WORDS...: the offers for the last word
  COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=()
  _tc101tool
  printf '%s\n' "${COMPREPLY[@]}"
}

commands=(analyse table poll send command outstation demo help)
offered=$(complete_words tc101tool "")
for command in "${commands[@]}"; do
  grep -qxF "$command" <<<"$offered" || fail "completion does not offer the command $command"
  grep -qE "^ {0,8}$command\b|^   $command$" <<<"$page" || fail "man page has no section for $command"
done
grep -qxF -- --version <<<"$offered" || fail "completion does not offer --version"
[ "$("$tool" --version)" = "tc101tool $("$tool" --version | cut -d' ' -f2)" ] || fail "--version prints '$("$tool" --version)'"

# Every option a command's help names, offered for that command and in the page.
for command in analyse table poll send command outstation demo; do
  offers=$(complete_words tc101tool "$command" --)
  for option in $("$tool" "$command" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
    grep -qxF -- "$option" <<<"$offers" || fail "completion of $command lacks $option"
    grep -qF -- "$option" <<<"$page" || fail "man page lacks $option ($command)"
  done
done

# Every option the code reads: the name in an Args call such as args.Value("--yc").
for option in $(grep -ohE '[A-Za-z]\("--[a-z][a-z-]+"' "$source_dir"/app/console/*.cpp "$source_dir"/app/demo/*.cpp |
                  grep -oE -- '--[a-z-]+' | sort -u); do
  grep -qF -- "$option" <<<"$page" || fail "man page lacks $option, which the code reads"
  grep -qE -- "(^|[\" ])$option([\" ]|$)" "$completion" || fail "completion lacks $option, which the code reads"
done

[ "$failures" = 0 ] && echo "manual page and completion: all checks passed"
exit $((failures > 0))
