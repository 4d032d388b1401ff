#!/usr/bin/bash
# Usage: _check_user_profile.sh USER
# Prints 1 when the user has a login record and an X authority file (.Xauthority) in the home
# folder, that is, when the user has logged in to the graphical desktop once; prints 0 otherwise.
set -u

user_name=${1-}
entry=""
[ -n "$user_name" ] && entry=$(getent passwd -- "$user_name")
home_folder=$(cut -d: -f6 <<<"$entry")
if [ -n "$entry" ] && [ -n "$home_folder" ] && [ -e "$home_folder/.Xauthority" ]; then
  echo 1
else
  echo 0
fi
exit 0
