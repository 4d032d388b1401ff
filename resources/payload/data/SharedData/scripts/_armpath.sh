#!/usr/bin/bash
# shellcheck disable=SC2154 # the placeholders below are replaced before the script runs
# Creates the application folder inside the target user's Wine drive (run as that user). The
# installer replaces the placeholder with the folder's path before it runs the script.
set -eu
mkdir -p -- "$arm_path"
