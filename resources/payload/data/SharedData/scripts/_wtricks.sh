#!/usr/bin/bash
# Template: installs one winetricks package unattended. The installer replaces the parameter
# mark with the quoted package name (preceded by -f for a forced reinstallation).
export WINEDEBUG=-all
winetricks -q #PARAM#
