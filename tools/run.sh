#!/bin/bash
# Builds the Linux program and runs its main job. With a display ($DISPLAY
# or $WAYLAND_DISPLAY) it opens the scene in a window (Escape ends it);
# without one it renders the scene headless: one picture per theme under out/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash tools/install-deps.sh run
cmake --preset linux >/dev/null
cmake --build --preset linux --target glimmora3d
if [ $# -gt 0 ]; then
  exec build/linux/glimmora3d "$@"
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/linux/glimmora3d
fi
mkdir -p out
for THEME in 0 1 2; do
  build/linux/glimmora3d --snapshot "out/theme$THEME.png" --theme "$THEME" --size 800x600 --seed 7
done
echo "The three themes are in $(pwd)/out: theme0.png (Immersion), theme1.png (Fountain), theme2.png (Fishes)."
