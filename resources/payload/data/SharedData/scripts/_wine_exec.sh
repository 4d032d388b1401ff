#!/usr/bin/bash
# Template: runs a Windows program under Wine. The installer replaces the marks with the quoted
# program path and the quoted argument.
export WINEDEBUG=-all
wine #SOURCE# #PARAM#
