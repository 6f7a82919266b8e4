# shellcheck shell=bash
# Waits on a condition instead of a fixed pause; sourced by the script tests.

# wait_until SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds;
# false when SECONDS pass first.
wait_until() {
  local tries=$(($1 * 20))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.05
  done
}

# holds_file PID PATH: the process has PATH (links followed) open.
holds_file() {
  local target fd
  target=$(readlink -f "$2") || return 1
  for fd in /proc/"$1"/fd/*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "$target" ] && return 0
  done
  return 1
}

# listens_on PID PORT: the process has a TCP socket listening on PORT (IPv4).
listens_on() {
  local inode fd
  while read -r inode; do
    for fd in /proc/"$1"/fd/*; do
      [ "$(readlink "$fd" 2>/dev/null)" = "socket:[$inode]" ] && return 0
    done
  done < <(awk -v port=":$(printf '%04X' "$2")" \
             '$4 == "0A" && substr($2, length($2) - 4) == port { print $10 }' /proc/net/tcp)
  return 1
}

# has_line FILE PATTERN: FILE has a line matching the extended PATTERN.
has_line() { grep -qE "$2" "$1" 2>/dev/null; }
