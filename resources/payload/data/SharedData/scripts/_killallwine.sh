#!/usr/bin/bash
# Stops every running Wine server and returns only when none is left. Run as root: each server
# is asked to end by its owner (wineserver -k in the owner's login shell, for the prefix the
# server serves); a server still running after the time limit is killed. Prints nothing on the
# error stream unless a server cannot be stopped.
set -u

readonly poll_seconds=0.25
readonly polls_before_kill=240 # 60 seconds

# "pid uid" of every running Wine server.
list_servers() {
  ps -e -o pid=,uid=,comm= | awk '$3 ~ /^wineserver/ { print $1, $2 }'
}

# The Wine prefix a server serves, from its environment (empty: the owner's default prefix).
server_prefix() {
  [ -r "/proc/$1/environ" ] || return 0
  tr '\0' '\n' 2>/dev/null <"/proc/$1/environ" | sed -n 's/^WINEPREFIX=//p' | head -n 1
}

ask_to_end() {
  local pid owner prefix
  while read -r pid owner; do
    prefix=$(server_prefix "$pid")
    if [ -n "$prefix" ]; then
      sudo -u "#$owner" -i env WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    else
      sudo -u "#$owner" -i wineserver -k >/dev/null 2>&1
    fi
  done < <(list_servers)
}

servers=$(list_servers)
[ -z "$servers" ] && exit 0
ask_to_end

polls=0
while [ -n "$(list_servers)" ]; do
  if [ "$polls" -ge "$polls_before_kill" ]; then
    list_servers | while read -r pid _; do kill -KILL "$pid" 2>/dev/null; done
    sleep 1
    if [ -n "$(list_servers)" ]; then
      echo "Cannot stop the running Wine servers: $(list_servers | tr '\n' ' ')" >&2
      exit 1
    fi
    break
  fi
  sleep "$poll_seconds"
  polls=$((polls + 1))
done
exit 0
