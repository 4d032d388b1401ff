#!/usr/bin/bash
# Usage: winestart.sh restart|stop
# restart: stops the user's running Wine server, waits until none runs, then prepares the Wine
#          prefix again (wineboot -i); meant for the start of a desktop session.
# stop:    stops the user's Wine server.
set -u
export WINEDEBUG=-all

readonly poll_seconds=0.25
readonly polls_limit=240 # 60 seconds

user_servers_running() {
  pgrep -u "$(id -u)" '^wineserver' >/dev/null
}

wait_until_no_server() {
  local polls=0
  while user_servers_running; do
    if [ "$polls" -ge "$polls_limit" ]; then
      echo "winestart.sh: the Wine server did not stop within 60 seconds" >&2
      return 1
    fi
    sleep "$poll_seconds"
    polls=$((polls + 1))
  done
}

case "${1-}" in
restart)
  wineserver -k 2>/dev/null
  wait_until_no_server || exit 1
  wineboot -i
  ;;
stop)
  wineserver -k
  ;;
*)
  echo "Usage: $0 restart|stop" >&2
  exit 2
  ;;
esac
