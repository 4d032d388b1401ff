#!/usr/bin/bash
# Makes Wine the handler of Windows executables for the user who runs it, for each MIME type
# whose association the Fly desktop reports as failed (or, without the Fly tool, that has none).
# The installer fills in its placeholders before it runs the script; this one needs none.
set -u
export WINEDEBUG=-all

readonly handler=wine.desktop
readonly mime_types=(application/vnd.microsoft.portable-executable application/x-ms-dos-executable)

status=0
for mime_type in "${mime_types[@]}"; do
  if command -v fly-mimeapps >/dev/null 2>&1; then
    current=$(fly-mimeapps get "$mime_type" 2>&1)
    if [[ $current == *неудачно* ]]; then
      fly-mimeapps set "$mime_type" "$handler" || status=1
    fi
  elif command -v xdg-mime >/dev/null 2>&1; then
    if [ -z "$(xdg-mime query default "$mime_type" 2>/dev/null)" ]; then
      xdg-mime default "$handler" "$mime_type" || status=1
    fi
  fi
done
exit "$status"
