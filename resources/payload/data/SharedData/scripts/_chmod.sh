#!/usr/bin/bash
# shellcheck disable=SC2154 # the placeholders below are replaced before the script runs
# Sets the rights the installed application needs (run as root): the maker's master-key program
# belongs to root and the administrators' group, and the Wine restart script in the target
# user's home is executable. The installer fills in the placeholder before it runs the script.
set -u

readonly master_key=/usr/bin/kavex_masterkey
readonly restart_script="$uhome/winestart.sh"

status=0
if [ -e "$master_key" ]; then
  chown root:astra-admin "$master_key" || status=1
  chmod 750 "$master_key" || status=1
fi
if [ -f "$restart_script" ]; then
  chmod +x "$restart_script" || status=1
fi
exit "$status"
