#!/usr/bin/env bash
# IncludeOrder.sh ROOT: fails, naming each offending line, when a source file includes a folder
# above its own. The order, bottom up: the layers platform, codec, plugins, engine, then app/'s
# folders res and blit, core, common, preview and convert, filepane, shell. Folders of one rank
# do not include each other either; a layer's own subfolders are one folder.
# One grep lists the include lines and one awk judges them all, so the check takes no longer than
# reading the sources.
set -euo pipefail
cd "$1"
{ grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' platform codec plugins engine app \
    --include='*.h' --include='*.cpp' || true; } | awk '
function rank(path) {
  if (path ~ /^platform\//) return 0
  if (path ~ /^codec\//) return 1
  if (path ~ /^plugins\//) return 2
  if (path ~ /^engine\//) return 3
  if (path ~ /^app\/(res|blit)\//) return 4
  if (path ~ /^app\/core\//) return 5
  if (path ~ /^app\/common\//) return 6
  if (path ~ /^app\/(preview|convert)\//) return 7
  if (path ~ /^app\/filepane\//) return 8
  if (path ~ /^app\/shell\//) return 9
  return -1
}
# The folder a path belongs to: its first component, or its first two under app/.
function folder(path, parts, n) {
  n = split(path, parts, "/")
  if (parts[1] == "app") return n > 1 ? parts[1] "/" parts[2] : parts[1]
  return parts[1]
}
{
  # grep -n prints FILE:LINE:TEXT; the text may hold colons of its own.
  colon = index($0, ":"); file = substr($0, 1, colon - 1); rest = substr($0, colon + 1)
  colon = index(rest, ":"); line = substr(rest, 1, colon - 1); text = substr(rest, colon + 1)
  included = text
  if (match(text, /^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"/)) {
    included = substr(text, 1, RLENGTH - 1); sub(/^[^"]*"/, "", included)
  }
  if (folder(file) == folder(included)) next
  own = rank(file); theirs = rank(included)
  if (theirs < 0 || theirs >= own) {
    print file ":" line ": includes " included ", which is not below its folder"
    bad = 1
  }
}
END { exit bad }'
