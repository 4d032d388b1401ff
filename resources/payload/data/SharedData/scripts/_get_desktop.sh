#!/usr/bin/bash
# Prints the desktop folder of the user who runs it (the installer runs it as the target user in
# a login shell): where ~/Desktop leads when it is a symbolic link, otherwise ~/Desktops/Desktop1,
# which is created when missing.
set -u

if [ -L "$HOME/Desktop" ]; then
  readlink -f -- "$HOME/Desktop"
else
  mkdir -p -- "$HOME/Desktops/Desktop1" && printf '%s\n' "$HOME/Desktops/Desktop1"
fi
