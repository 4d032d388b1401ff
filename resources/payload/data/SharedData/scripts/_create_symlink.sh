#!/usr/bin/bash
# shellcheck disable=SC2154 # the placeholders below are replaced before the script runs
# Makes the install folder reachable from the target user's Wine drive through a symbolic link
# (run as root). The installer replaces the placeholders with the paths before it runs the script.
set -eu
ln -s -T -f "$LNX_INST" "$WKavex"
