#!/bin/bash
# The project's own build refuses an upward include. A copy of the source
# tree (src/ copied, the rest linked) gets one wrong-way include per layer
# from the table below; building that layer's check must fail with the
# file, the include and the rule, and building a layer nobody touched must
# pass. The gl case builds the library itself: the check stops it before
# anything compiles.
#
#   layers_build_test.sh SOURCE_DIR CMAKE
set -u
SOURCE=$1
CMAKE=${2:-cmake}
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT

mkdir "$T/tree"
for E in "$SOURCE"/* "$SOURCE"/.[!.]*; do
  [ -e "$E" ] || continue
  case $(basename "$E") in
    src|build|.git) ;;
    *) ln -s "$E" "$T/tree/$(basename "$E")" ;;
  esac
done
cp -r "$SOURCE/src" "$T/tree/src"

if ! "$CMAKE" -S "$T/tree" -B "$T/build" -DGLIMMORA_TESTS=OFF >"$T/configure.log" 2>&1; then
  cat "$T/configure.log"
  echo "FAIL: the copy of the tree does not configure"
  exit 1
fi

FAILED=0
# target | file under src | include added | what the build must say
CASES=(
  "glimmora_gl|gl/GLClasses.h|scene/Scene.h|src/gl/GLClasses.h:LINE includes scene/Scene.h: gl may not include scene"
  "glimmora_scene_layers|scene/Scene.cpp|app/options/Options.h|src/scene/Scene.cpp:LINE includes app/options/Options.h: scene may not include app/options"
  "glimmora_app_display_layers|app/display/DisplayControl.cpp|app/saver/MainForm.h|src/app/display/DisplayControl.cpp:LINE includes app/saver/MainForm.h: app_display may not include app/saver"
  "glimmora_app_options_layers|app/options/Options.h|app/linux/LinuxProgram.h|src/app/options/Options.h:LINE includes app/linux/LinuxProgram.h: app_options may not include app/linux"
  "glimmora_platform_api_layers|platform/Clock.h|gl/Errors.h|src/platform/Clock.h:LINE includes gl/Errors.h: platform_api may not include gl"
  "glimmora_platform_core_layers|platform/linux/LinuxClock.cpp|platform/headless/SilentSound.h|src/platform/linux/LinuxClock.cpp:LINE includes platform/headless/SilentSound.h: platform_core may not include platform/headless"
  "glimmora_headless_layers|platform/headless/PngFile.cpp|app/linux/LinuxProgram.h|src/platform/headless/PngFile.cpp:LINE includes app/linux/LinuxProgram.h: headless may not include app/linux"
)
for C in "${CASES[@]}"; do
  IFS='|' read -r TARGET FILE INCLUDE MESSAGE <<<"$C"
  echo "#include \"$INCLUDE\"" >>"$T/tree/src/$FILE"
  LINE=$(wc -l <"$T/tree/src/$FILE")
  MESSAGE=${MESSAGE/LINE/$LINE}
  if "$CMAKE" --build "$T/build" --target "$TARGET" >"$T/out.log" 2>&1; then
    echo "FAIL: $TARGET built with $FILE including $INCLUDE"
    FAILED=1
  elif ! grep -qF "$MESSAGE" "$T/out.log"; then
    cat "$T/out.log"
    echo "FAIL: $TARGET failed without saying: $MESSAGE"
    FAILED=1
  elif grep -q '\.o$\|Building CXX' "$T/out.log"; then
    cat "$T/out.log"
    echo "FAIL: $TARGET compiled before its check failed"
    FAILED=1
  else
    echo "ok: $TARGET refused $FILE including $INCLUDE"
  fi
done

# Layers whose own files are untouched still pass, whatever the others do.
for TARGET in glimmora_model_layers glimmora_app_linux_layers glimmora_app_saver_layers; do
  if ! "$CMAKE" --build "$T/build" --target "$TARGET" >"$T/out.log" 2>&1; then
    cat "$T/out.log"
    echo "FAIL: $TARGET failed on files nobody changed"
    FAILED=1
  else
    echo "ok: $TARGET passes"
  fi
done
exit $FAILED
