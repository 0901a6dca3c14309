#!/bin/bash
# Builds the Linux program and runs its main job.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target glimmora3d
exec build/linux/glimmora3d "$@"
