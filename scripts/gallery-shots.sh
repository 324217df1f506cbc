#!/usr/bin/env bash
# Screenshots of the skin gallery: for each skin (default, graphite, none) and each view (the gallery's
# form, the bare Win32 dialog, the MDI window, the menu bar with View > Skin open, the context menu
# opened by Shift+F10, an editable combo box's list dropped by a click) it starts the built SkinGallery.exe under Wine on a
# private Xvfb display, takes a picture of the screen and writes it to build/windows/gallery/shots/
# as <skin>-<view>.png. It builds nothing: build the SkinGallery target first.
# Usage: gallery-shots.sh [EXE]   (default build/windows/gallery/SkinGallery.exe)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
exe=$(realpath "${1:-$root/build/windows/gallery/SkinGallery.exe}")
[ -f "$exe" ] || { echo "gallery-shots: $exe not found (build the SkinGallery target)" >&2; exit 1; }
shots="$root/build/windows/gallery/shots"
mkdir -p "$shots"
# One prefix for every run, so that with-xvfb.sh ends its Wine processes with each display.
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}

shoot() {  # skin view
  local skin=$1 view=$2 keys="" args=(/skin:"$1")
  case "$view" in
    dialog|mdi) args+=(/open:"$view") ;;
    combo) keys="mousemove 911 472 click 1" ;;  # the editable combo's button, the window centred
    menu) keys="alt+v Right" ;;
    popup) keys="shift+F10" ;;
  esac
  "$here/with-xvfb.sh" bash -c '
    "$1" "$2" "${@:5}" &
    sleep "${GALLERY_SETTLE:-8}"
    case "$4" in
      "") ;;
      mousemove*) xdotool $4; sleep 2 ;;
      *) xdotool key --delay 400 $4; sleep 2 ;;
    esac
    import -window root "$3"
  ' shoot "$here/wine-run.sh" "$exe" "$shots/$skin-$view.png" "$keys" "${args[@]}"
  echo "$shots/$skin-$view.png"
}

for skin in default graphite none; do
  for view in form dialog mdi menu popup combo; do
    shoot "$skin" "$view"
  done
done
