#!/usr/bin/env bash
# Fails when a file includes a layer above its own, or when Qt leaks out of
# the Qt folders: base <- discdb <- cd; discdb <- cddb; base <- skin <- mixer;
# base discdb cd <- audio; platform <- app <- Qt.
set -uo pipefail
cd "$(dirname "$0")/.."

allowed() {
  case $1 in
    */ui/* | platform/qt/*) echo "base discdb cd cddb skin mixer audio platform app" ;;
    base/*) echo "base" ;;
    discdb/*) echo "base discdb" ;;
    cd/*) echo "base discdb cd" ;;
    cddb/*) echo "base discdb cddb" ;;
    skin/*) echo "base skin" ;;
    mixer/*) echo "base skin mixer" ;;
    audio/*) echo "base discdb cd audio" ;;
    platform/*) echo "base discdb cd cddb skin mixer audio platform" ;;
    app/*) echo "base discdb cd cddb skin mixer audio platform app" ;;
  esac
}

status=0
for file in $(git ls-files 'base/*' 'discdb/*' 'cd/*' 'cddb/*' 'skin/*' 'mixer/*' 'audio/*' 'platform/*' 'app/*' | grep -E '\.(h|cpp)$'); do
  layers=" $(allowed "$file") "
  while IFS= read -r line; do
    folder=${line#*\"}
    folder=${folder%%/*}
    if [[ $layers != *" $folder "* ]]; then
      echo "$file includes a higher layer: $line"
      status=1
    fi
  done < <(grep -E '^#include "[a-z_]+/' "$file")
  case $file in
    */ui/* | platform/qt/*) ;;
    *)
      if grep -qE '^#include <Q' "$file"; then
        echo "$file uses Qt outside the Qt folders"
        status=1
      fi
      ;;
  esac
done
[ "$status" -eq 0 ] && echo "layers are in order"
exit "$status"
