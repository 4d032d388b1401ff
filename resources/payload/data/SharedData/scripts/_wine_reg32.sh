#!/usr/bin/bash
# Template: imports a registry file into the 32-bit registry view of the user's Wine prefix.
# The installer replaces the source mark with the file's path before it runs the script.
export WINEDEBUG=-all
wine reg import "#SOURCE#" /reg:32
