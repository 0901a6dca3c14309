#!/usr/bin/env python3
"""The build's include check: a layer's files include only from the rooms
the layer may see (its own and those of the layers it links).

    check-layers.py --src SRC --layer NAME --allow ROOM... [--stamp FILE] -- FILE...

SRC is the folder the quoted includes are written from (src/); a room is
a folder under it (gl, app/options, platform). Every `#include "..."` of
each FILE is resolved as the compiler resolves it (beside the file first,
then from SRC); one that names a file in a folder of SRC must lie in an
allowed room. Includes that name no folder of SRC (system headers, a
build's generated headers, test helpers) are not the layers' business.
Each wrong-way include is reported on its own line,

    src/scene/Scene.cpp:12 includes app/options/Options.h: scene may not include app/options

and the exit code is 1; with none, the stamp FILE is written (the build's
record that the check passed) and the exit code is 0.
"""

import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def room_of(include, including_dir, src):
    """The room (a folder of src, '/'-separated) an include names, or None."""
    beside = os.path.normpath(os.path.join(including_dir, include))
    if os.path.isfile(beside):
        target = beside
    else:
        target = os.path.normpath(os.path.join(src, include))
    rel = os.path.relpath(target, src)
    if rel.startswith(os.pardir):
        return None
    room = os.path.dirname(rel)
    if not room or not os.path.isdir(os.path.join(src, room)):
        return None
    return room.replace(os.sep, "/")


def check(src, layer, allowed, files):
    """The wrong-way includes of files, one message each."""
    src = os.path.abspath(src)
    shown_from = os.path.dirname(src)
    problems = []
    for name in files:
        path = os.path.abspath(name)
        with open(path, encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                room = room_of(m.group(1), os.path.dirname(path), src)
                if room is None or room in allowed:
                    continue
                shown = os.path.relpath(path, shown_from).replace(os.sep, "/")
                target = os.path.normpath(os.path.join(room, os.path.basename(m.group(1)))).replace(os.sep, "/")
                problems.append(f"{shown}:{number} includes {target}: {layer} may not include {room}")
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description="Checks that a layer includes only from the rooms it may see.")
    parser.add_argument("--src", required=True)
    parser.add_argument("--layer", required=True)
    parser.add_argument("--allow", nargs="*", default=[])
    parser.add_argument("--stamp")
    parser.add_argument("files", nargs="*")
    args = parser.parse_args(argv)
    problems = check(args.src, args.layer, set(args.allow), args.files)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"{args.layer}: {len(problems)} include(s) from a layer it does not link; "
              f"it sees only {', '.join(sorted(args.allow))}", file=sys.stderr)
        return 1
    if args.stamp:
        os.makedirs(os.path.dirname(os.path.abspath(args.stamp)), exist_ok=True)
        with open(args.stamp, "w", encoding="utf-8") as f:
            f.write("\n".join(args.files) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
