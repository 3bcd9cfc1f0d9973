#!/usr/bin/env bash
# Runs a Windows program under Wine on the current display, in a prefix whose server is started
# afresh for it (a server keeps the display it started on) and stopped after it.
# Usage: wine_on_display.sh WINE_RUN PREFIX PROGRAM ARGS...
set -u
wine_run="$1" prefix="$2"
shift 2
export WINEPREFIX="$prefix"
wineserver -k 2>/dev/null
"$wine_run" "$prefix" "$@"
status=$?
wineserver -k 2>/dev/null
exit "$status"
