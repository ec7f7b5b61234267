#!/bin/sh
# The demo of `make demo`: an installation in build/demo/install with the demo database, a single-search
# batch run of the installed program for a name on the demo lists and for a rejected term, then the
# single search in every phonetic mode.
set -eu
build=build
demo=$build/demo
install=$(pwd)/$demo/install
root=$(pwd)/$demo/root
datadir="$root/appdata/{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}"

rm -rf "$install" "$root"
cmake --install "$build" --prefix "$install" >/dev/null
export VELDMARK_ROOT="$root"
"$install/vmkprep"
cp "$demo/KE2DB.pak" "$datadir/"
"$build/bin/vmk-demo" --prepare-batch "$root/batch"

run_batch() {
  echo
  echo "=== veldmark /s \"$1\""
  (cd "$install" && ./veldmark /s "$1" 2>/dev/null)
  echo "Ergebniszeile: $(cat "$root/batch/BatchResult.txt")"
  echo "Ergebnisdatei: $root/batch/BatchResult.txt"
  pdf=$(cut -d';' -f3 "$root/batch/BatchResult.txt")
  case "$pdf" in /*) echo "PDF-Bericht:   $pdf" ;; esac
}

echo "Veldmark demo: installation in $install, data below $root"
run_batch "Wiktor Dragunow;;;"
run_batch "X;;;"
echo
echo "Batch-Protokoll ($install/EBatchLog.txt):"
iconv -f WINDOWS-1252 -t UTF-8 "$install/EBatchLog.txt" | sed 's/^/  /'

"$build/bin/vmk-demo" --pack "$demo/KE2DB.pak" --root "$demo/run"

# With a display the window opens on the demo installation; closing it ends the demo.
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  echo
  echo "=== veldmark (Programmfenster; Schließen beendet die Demo)"
  (cd "$install" && ./veldmark)
fi
