#!/usr/bin/env python3
"""tools/check-layers.py on small trees: which includes it refuses, the
message it gives, its exit code and its stamp."""

import importlib.util
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECKER = os.path.join(HERE, "..", "..", "tools", "check-layers.py")

spec = importlib.util.spec_from_file_location("check_layers", CHECKER)
check_layers = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check_layers)

# The rooms of the tree every case starts from (each holds a header).
ROOMS = ["platform", "platform/linux", "platform/headless", "gl", "effects", "scene", "app/options"]
SCENE_SEES = ["scene", "effects", "gl", "platform"]
CORE_SEES = ["platform/linux", "platform"]

# (name, layer, rooms it sees, file, its text, the messages expected)
CASES = [
    ("down to gl and the seam", "scene", SCENE_SEES, "scene/Scene.cpp",
     '#include "gl/Gl.h"\n#include "platform/Platform.h"\n#include "effects/Effects.h"\n', []),
    ("up to app", "scene", SCENE_SEES, "scene/Scene.cpp",
     '#include "scene/Scene.h"\n#include "app/options/Options.h"\n',
     ["src/scene/Scene.cpp:2 includes app/options/Options.h: scene may not include app/options"]),
    ("a header counts as its room", "gl", ["gl", "platform"], "gl/Gl.h",
     '#pragma once\n  #  include "scene/Scene.h"\n',
     ["src/gl/Gl.h:2 includes scene/Scene.h: gl may not include scene"]),
    ("the seam sees no backend", "platform_api", ["platform"], "platform/Platform.h",
     '#include "platform/linux/Linux.h"\n',
     ["src/platform/Platform.h:1 includes platform/linux/Linux.h: platform_api may not include platform/linux"]),
    ("a backend sees no other backend", "platform_core", CORE_SEES, "platform/linux/Linux.cpp",
     '#include "platform/linux/Linux.h"\n#include "platform/headless/Headless.h"\n',
     ["src/platform/linux/Linux.cpp:2 includes platform/headless/Headless.h: "
      "platform_core may not include platform/headless"]),
    ("a backend sees nothing above the seam", "platform_core", CORE_SEES, "platform/linux/Linux.cpp",
     '#include "gl/Gl.h"\n', ["src/platform/linux/Linux.cpp:1 includes gl/Gl.h: platform_core may not include gl"]),
    ("beside the file, as the compiler finds it", "scene", SCENE_SEES, "scene/Scene.cpp",
     '#include "Scene.h"\n#include "../app/options/Options.h"\n',
     ["src/scene/Scene.cpp:2 includes app/options/Options.h: scene may not include app/options"]),
    ("system, generated and commented-out includes", "gl", ["gl", "platform"], "gl/Gl.cpp",
     '#include <jpeglib.h>\n#include "jpeglib.h"\n#include "Version.h"\n'
     '// #include "scene/Scene.h"\n', []),
    ("every wrong include, each on its line", "effects", ["effects", "gl", "platform"], "effects/Effects.cpp",
     '#include "scene/Scene.h"\n\n#include "app/options/Options.h"\n',
     ["src/effects/Effects.cpp:1 includes scene/Scene.h: effects may not include scene",
      "src/effects/Effects.cpp:3 includes app/options/Options.h: effects may not include app/options"]),
]


def make_tree(root):
    src = os.path.join(root, "src")
    for room in ROOMS:
        os.makedirs(os.path.join(src, room), exist_ok=True)
        name = room.split("/")[-1].capitalize() + ".h"
        with open(os.path.join(src, room, name), "w", encoding="utf-8") as f:
            f.write("#pragma once\n")
    return src


class CheckLayersTest(unittest.TestCase):
    def test_cases(self):
        for name, layer, sees, file, text, expected in CASES:
            with self.subTest(name), tempfile.TemporaryDirectory() as root:
                src = make_tree(root)
                path = os.path.join(src, file)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
                self.assertEqual(check_layers.check(src, layer, set(sees), [path]), expected)

    def test_a_wrong_include_fails_with_its_message_and_no_stamp(self):
        with tempfile.TemporaryDirectory() as root:
            src = make_tree(root)
            bad = os.path.join(src, "scene", "Scene.cpp")
            with open(bad, "w", encoding="utf-8") as f:
                f.write('#include "app/options/Options.h"\n')
            stamp = os.path.join(root, "out", "scene.checked")
            run = subprocess.run([sys.executable, CHECKER, "--src", src, "--layer", "scene", "--stamp", stamp,
                                  "--allow", *SCENE_SEES, "--", bad], capture_output=True, text=True)
            self.assertEqual(run.returncode, 1)
            self.assertIn("src/scene/Scene.cpp:1 includes app/options/Options.h: scene may not include app/options",
                          run.stderr)
            self.assertFalse(os.path.exists(stamp))

    def test_a_clean_layer_passes_and_writes_its_stamp(self):
        with tempfile.TemporaryDirectory() as root:
            src = make_tree(root)
            good = os.path.join(src, "scene", "Scene.cpp")
            with open(good, "w", encoding="utf-8") as f:
                f.write('#include "scene/Scene.h"\n#include "gl/Gl.h"\n')
            stamp = os.path.join(root, "out", "scene.checked")
            run = subprocess.run([sys.executable, CHECKER, "--src", src, "--layer", "scene", "--stamp", stamp,
                                  "--allow", *SCENE_SEES, "--", good], capture_output=True, text=True)
            self.assertEqual((run.returncode, run.stderr), (0, ""))
            self.assertTrue(os.path.isfile(stamp))


if __name__ == "__main__":
    unittest.main()
