#!/usr/bin/env bash
# IncludeOrder.sh ROOT: fails, naming each offending line, when a source file includes a folder
# above its own. The order, bottom up: the layers platform, codec, plugins, engine, then app/'s
# folders res and blit, core, common, preview and convert, filepane, shell. Folders of one rank
# do not include each other either; a layer's own subfolders are one folder.
set -euo pipefail
cd "$1"
rank() {
  case $1 in
    platform/*) echo 0 ;; codec/*) echo 1 ;; plugins/*) echo 2 ;; engine/*) echo 3 ;;
    app/res/* | app/blit/*) echo 4 ;; app/core/*) echo 5 ;; app/common/*) echo 6 ;;
    app/preview/* | app/convert/*) echo 7 ;; app/filepane/*) echo 8 ;; app/shell/*) echo 9 ;;
    *) echo -1 ;;
  esac
}
folder() { case $1 in app/*) echo "$1" | cut -d/ -f1-2 ;; *) echo "${1%%/*}" ;; esac; }
bad=0
while IFS=: read -r file line text; do
  included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$text")
  [ "$(folder "$file")" = "$(folder "$included")" ] && continue
  own=$(rank "$file")
  theirs=$(rank "$included")
  if [ "$theirs" -lt 0 ] || [ "$theirs" -ge "$own" ]; then
    echo "$file:$line: includes $included, which is not below its folder"
    bad=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' platform codec plugins engine app \
           --include='*.h' --include='*.cpp')
exit $bad
