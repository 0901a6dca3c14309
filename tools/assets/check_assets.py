#!/usr/bin/python3
"""Checks the committed assets.

    /usr/bin/python3 tools/assets/check_assets.py [RESOURCES_DIR]

1. Regenerates every asset into a temporary folder and compares it byte for
   byte with resources/ (and docs/assets.png).
2. Reads the committed files with plain Python and checks their formats and
   the geometry the scene relies on.
Prints one line per failure and finally "N passed, M failed"; the exit
status is 1 when anything failed.
"""

import io
import math
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

JPEGS = ["dollar.jpg", "caust1.jpg", "caust2.jpg", "caust3.jpg",
         "caust5.jpg", "Pesok01.jpg", "dno02.jpg", "dno03.jpg",
         "voda1.jpg", "voda2.jpg", "voda3.jpg", "puzir.jpg", "puzirA.jpg"]
WAVES = ["DollarsWave%02df.3dm" % i for i in range(11)]
MODELS = ["Dollaro00f.3dm", "Puzir00f.3dm", "dnoK00f.3dm"] + WAVES
OTHERS = ["DollarsWave.mfl", "sbubles", "Background.bmp"]
ALL = JPEGS + MODELS + OTHERS


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAIL: %s%s" % (what, (": " + detail) if detail else ""))
        return ok


# ------------------------------------------------------------ regeneration

def check_regeneration(c, resdir):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "res")
        sheet = os.path.join(tmp, "assets.png")
        r = subprocess.run([sys.executable,
                            os.path.join(HERE, "make_assets.py"), out,
                            "--sheet", sheet],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if not c.check("make_assets.py runs", r.returncode == 0,
                       r.stdout.decode(errors="replace")[-2000:]):
            return
        made = sorted(os.listdir(out))
        c.check("generator writes exactly the asset set",
                sorted(made) == sorted(ALL),
                "missing %s, unexpected %s" % (
                    sorted(set(ALL) - set(made)),
                    sorted(set(made) - set(ALL))))
        pairs = [(os.path.join(out, n), os.path.join(resdir, n), n)
                 for n in made]
        if os.path.abspath(resdir) == os.path.join(REPO, "resources"):
            pairs.append((sheet, os.path.join(REPO, "docs", "assets.png"),
                          "docs/assets.png"))
        differ = []
        for new, old, name in pairs:
            if not os.path.exists(old):
                differ.append(name + " (missing)")
                continue
            with open(new, "rb") as a, open(old, "rb") as b:
                if a.read() != b.read():
                    differ.append(name)
        c.check("committed assets equal a fresh build", not differ,
                "differing files: " + ", ".join(differ) +
                " (run tools/assets/make_assets.py and commit)")


# ------------------------------------------------------------------- JPEG

def jpeg_markers(data):
    """Frame markers (SOFn) and the first frame's size and components."""
    i, frames, info = 2, [], None
    if data[:2] != b"\xff\xd8":
        return frames, info
    while i + 4 <= len(data):
        if data[i] != 0xFF:
            break
        m = data[i + 1]
        if m == 0xD9 or m == 0xDA:
            break
        ln = struct.unpack(">H", data[i + 2:i + 4])[0]
        if 0xC0 <= m <= 0xCF and m not in (0xC4, 0xC8, 0xCC):
            frames.append(m)
            if info is None:
                h, w = struct.unpack(">HH", data[i + 5:i + 9])
                info = (w, h, data[i + 9])
        i += 2 + ln
    return frames, info


def check_jpegs(c, resdir):
    from PIL import Image
    for n in JPEGS:
        p = os.path.join(resdir, n)
        if not c.check("%s exists" % n, os.path.exists(p)):
            continue
        data = open(p, "rb").read()
        frames, info = jpeg_markers(data)
        c.check("%s is one progressive (SOF2) frame" % n, frames == [0xC2],
                "frame markers %s" % [hex(f) for f in frames])
        c.check("%s is 256 x 256 with 3 components" % n,
                info == (256, 256, 3), "got %s" % (info,))
        img = Image.open(io.BytesIO(data))
        c.check("%s decodes as progressive RGB" % n,
                img.info.get("progressive") == 1 and img.mode == "RGB",
                "mode %s, info %s" % (img.mode, img.info.get("progressive")))


def check_bubble_mask(c, resdir):
    import numpy as np
    from PIL import Image
    p = os.path.join(resdir, "puzirA.jpg")
    if not os.path.exists(p):
        return
    a = np.asarray(Image.open(p).convert("RGB"), dtype=int)
    grey = a.sum(axis=2) // 3              # how the loader turns it to alpha
    n = grey.shape[0]
    corners = [grey[:16, :16], grey[:16, -16:], grey[-16:, :16],
               grey[-16:, -16:]]
    worst = max(int(q.max()) for q in corners)
    c.check("puzirA corners are dropped by the alpha test (<= 25)",
            worst <= 25, "brightest corner pixel %d" % worst)
    y, x = np.mgrid[0:n, 0:n]
    r = np.hypot(x + 0.5 - n / 2, y + 0.5 - n / 2)
    outside = grey[r > 124]
    c.check("puzirA is transparent outside the bubble (<= 25)",
            outside.max() <= 25, "max %d" % outside.max())
    inside = grey[r < 100]
    c.check("puzirA keeps the whole bubble body visible (> 25)",
            inside.min() > 25, "min %d" % inside.min())
    rim = grey[(r > 105) & (r < 116)]
    c.check("puzirA rim is brighter than the body",
            rim.mean() > inside.mean() + 40,
            "rim %.1f, body %.1f" % (rim.mean(), inside.mean()))


# ------------------------------------------------------------------- WAVE

def riff_chunks(data):
    chunks = {}
    i = 12
    while i + 8 <= len(data):
        cid = data[i:i + 4]
        size = struct.unpack("<I", data[i + 4:i + 8])[0]
        chunks.setdefault(cid, (i + 8, size))
        i += 8 + size + (size & 1)
    return chunks, i


def check_sound(c, resdir):
    p = os.path.join(resdir, "sbubles")
    if not c.check("sbubles exists", os.path.exists(p)):
        return
    data = open(p, "rb").read()
    ok = data[:4] == b"RIFF" and data[8:12] == b"WAVE"
    c.check("sbubles is a RIFF WAVE file", ok)
    if not ok:
        return
    c.check("RIFF size matches the file",
            struct.unpack("<I", data[4:8])[0] + 8 == len(data))
    chunks, end = riff_chunks(data)
    c.check("chunks fill the file exactly", end == len(data))
    if not c.check("fmt and data chunks present",
                   b"fmt " in chunks and b"data" in chunks):
        return
    off, size = chunks[b"fmt "]
    tag, ch, rate, bps, align, bits = struct.unpack(
        "<HHIIHH", data[off:off + 16])
    c.check("format tag 2 (Microsoft ADPCM)", tag == 2, str(tag))
    c.check("2 channels", ch == 2, str(ch))
    c.check("11025 samples per second", rate == 11025, str(rate))
    c.check("4 bits per sample", bits == 4, str(bits))
    c.check("512-byte blocks", align == 512, str(align))
    spb = struct.unpack("<H", data[off + 18:off + 20])[0]
    c.check("block holds 500 samples per channel", spb == 500, str(spb))
    doff, dsize = chunks[b"data"]
    c.check("data is whole blocks (seamless loop)",
            dsize > 0 and dsize % 512 == 0, str(dsize))
    secs = dsize // 512 * spb / rate
    c.check("a few seconds long", 2.0 <= secs <= 8.0, "%.2f s" % secs)


# -------------------------------------------------------------------- BMP

def check_bitmap(c, resdir):
    p = os.path.join(resdir, "Background.bmp")
    if not c.check("Background.bmp exists", os.path.exists(p)):
        return
    data = open(p, "rb").read()
    if not c.check("bitmap file header", data[:2] == b"BM" and
                   struct.unpack("<I", data[2:6])[0] == len(data)):
        return
    pix_off = struct.unpack("<I", data[10:14])[0]
    hsize, w, h, planes, bpp, comp = struct.unpack("<IiiHHI", data[14:34])
    used = struct.unpack("<I", data[46:50])[0]
    colours = used if used else 256
    c.check("150 x 110 pixels", (w, abs(h)) == (150, 110), "%d x %d" % (w, h))
    c.check("8 bits per pixel, uncompressed", bpp == 8 and comp == 0,
            "bpp %d compression %d" % (bpp, comp))
    c.check("256-colour palette", colours == 256, "%d entries" % colours)
    c.check("palette and pixels fit the file",
            pix_off >= 14 + hsize + 4 * colours and
            pix_off + ((w + 3) // 4 * 4) * abs(h) <= len(data))


# -------------------------------------------------------------------- 3DM

def parse_3dm(text):
    """Sections of a 3DM text as (name, [lines]) in order."""
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    secs, i = [], 0
    while i < len(lines):
        head = lines[i]
        if not head.startswith("#"):
            raise ValueError("line %d: expected a heading: %r" % (i + 1,
                                                                 head))
        name, count = head[1:].split(" ", 1)
        n = int(count)
        body = lines[i + 1:i + 1 + n]
        if len(body) != n:
            raise ValueError("section %s announces %d lines" % (name, n))
        secs.append((name, body))
        i += 1 + n
    return secs


def vec(s, conv=float):
    if not (s.startswith("[") and s.endswith("]")) or " " in s:
        raise ValueError("bad vector %r" % s)
    parts = s[1:-1].split(",")
    if len(parts) != 3:
        raise ValueError("bad vector %r" % s)
    return tuple(conv(p) for p in parts)


def load_model(path):
    raw = open(path, "rb").read()
    text = raw.decode("ascii")
    stray = text.replace("\r\n", "")
    if "\r" in stray or "\n" in stray:
        raise ValueError("line ends other than CR LF")
    secs = parse_3dm(text)
    m = {"sections": [n for n, _ in secs], "materials": 0}
    for name, body in secs:
        if name == "MaterialStandard":
            m["materials"] += 1
            m["material"] = dict(l.split(" ", 1) for l in body)
        elif name == "Vertices":
            m["v"] = [vec(l) for l in body]
        elif name == "VertexFaces":
            m["f"] = [vec(l, int) for l in body]
        elif name == "TextureCoords":
            m["t"] = [vec(l) for l in body]
        elif name == "TextureCoordFaces":
            m["tf"] = [vec(l, int) for l in body]
        elif name == "Normals":
            m["n"] = [vec(l) for l in body]
        elif name == "FaceMatID":
            m["ids"] = [int(l) for l in body]
        elif name == "Transform":
            m["transform"] = body
    return m


def to_scene(m):
    """Vertex positions as the loader places them."""
    v = m["v"]
    if "transform" not in m:
        return v
    rows = None
    for line in m["transform"]:
        if "(matrix3" in line:
            nums = [float(t) for t in
                    line.replace("(matrix3", "").replace(")", "")
                    .replace("[", " ").replace("]", " ").replace(",", " ")
                    .split()]
            rows = [nums[0:3], nums[3:6], nums[6:9], nums[9:12]]
    out = []
    for x, y, z in v:
        p = [x * rows[0][k] + y * rows[1][k] + z * rows[2][k] + rows[3][k]
             for k in range(3)]
        out.append((p[0], p[2], -p[1]))      # Z up to Y up
    return out


def normals(pos, faces):
    res = []
    for a, b, cc in faces:
        p0, p1, p2 = pos[a - 1], pos[b - 1], pos[cc - 1]
        u = [p1[k] - p0[k] for k in range(3)]
        w = [p2[k] - p0[k] for k in range(3)]
        n = (u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
             u[0] * w[1] - u[1] * w[0])
        ln = math.sqrt(sum(q * q for q in n)) or 1.0
        res.append(tuple(q / ln for q in n))
    return res


def check_model_common(c, name, m, nv, nf):
    c.check("%s has %d vertices" % (name, nv), len(m.get("v", [])) == nv,
            str(len(m.get("v", []))))
    c.check("%s has %d faces" % (name, nf), len(m.get("f", [])) == nf,
            str(len(m.get("f", []))))
    c.check("%s has one material id per face" % name,
            len(m.get("ids", [])) == len(m.get("f", [])))
    c.check("%s has one texture face per face" % name,
            len(m.get("tf", [])) == len(m.get("f", [])))
    idx = [i for f in m.get("f", []) for i in f]
    c.check("%s vertex indices within 1..%d" % (name, nv),
            idx and min(idx) >= 1 and max(idx) <= len(m.get("v", [])))
    tidx = [i for f in m.get("tf", []) for i in f]
    c.check("%s texture indices within range" % name,
            tidx and min(tidx) >= 1 and max(tidx) <= len(m.get("t", [])))
    c.check("%s normals match the vertices" % name,
            len(m.get("n", [])) == len(m.get("v", [])))
    mat = m.get("material", {})
    c.check("%s declares one standard material with a diffuse map" % name,
            m["materials"] == 1 and mat.get("DiffuseMap", "").endswith(
                ".jpg"))
    c.check("%s sections come in the loader's order" % name,
            m["sections"][:4] == ["Header", "MaterialCount",
                                  "MaterialStandard", "Object"])


def check_models(c, resdir):
    ms = {}
    for n in MODELS:
        p = os.path.join(resdir, n)
        if not c.check("%s exists" % n, os.path.exists(p)):
            continue
        try:
            ms[n] = load_model(p)
            c.check("%s parses" % n, True)
        except (ValueError, UnicodeDecodeError) as e:
            c.check("%s parses" % n, False, str(e))

    bill = ms.get("Dollaro00f.3dm")
    if bill:
        check_model_common(c, "Dollaro00f.3dm", bill, 8, 4)
        mat = bill["material"]
        c.check("bill material values",
                mat.get("Ambient") == "(color 22.6664 16.3332 46.3329)" and
                mat.get("Diffuse") == "(color 127 127 127)" and
                mat.get("Specular") == "(color 229.5 229.5 229.5)" and
                float(mat.get("SpecularLevel", -1)) == 5 and
                float(mat.get("Glossiness", -1)) == 25 and
                float(mat.get("Opacity", -1)) == 100 and
                mat.get("DiffuseMap") == "dollar.jpg", str(mat))
        xs = sorted({v[0] for v in bill["v"]})
        ys = sorted({v[1] for v in bill["v"]})
        c.check("bill is 1024 x 430",
                xs == [-512, 512] and ys == [-215, 215], "%s %s" % (xs, ys))
        ns = normals(to_scene(bill), bill["f"])
        c.check("bill has a front (+z) and a back (-z) side",
                sorted(round(n[2]) for n in ns) == [-1, -1, 1, 1], str(ns))
        c.check("bill texture faces equal the vertex faces",
                bill["tf"] == bill["f"])

    frames = [ms.get(n) for n in WAVES]
    if all(frames):
        for n, m in zip(WAVES, frames):
            check_model_common(c, n, m, 44, 40)
            c.check("%s uses material id 3 on every face" % n,
                    set(m["ids"]) == {3})
        first = frames[0]
        c.check("wave frames share faces and texture layout",
                all(m["f"] == first["f"] and m["tf"] == first["tf"] and
                    m["t"] == first["t"] for m in frames))
        c.check("wave frame 10 equals frame 0",
                frames[10]["v"] == first["v"])
        moved = [max(abs(a[2] - b[2]) for a, b in zip(p["v"], q["v"]))
                 for p, q in zip(frames, frames[1:])]
        c.check("every wave step moves the bill", min(moved) > 1.0,
                str(moved))
        span = max(v[2] for m in frames for v in m["v"]) - \
            min(v[2] for m in frames for v in m["v"])
        c.check("wave height stays modest beside the 1024 length",
                50 < span < 400, "%.1f" % span)
        ups = [n[2] for n in normals(first["v"], first["f"])]
        c.check("wave strip is two-sided (20 faces to the viewer, 20 away)",
                sum(1 for u in ups if u > 0.5) == 20 and
                sum(1 for u in ups if u < -0.5) == 20)
        # a wave running from head (+x) to tail (-x): each column of the
        # strip repeats the motion of its head-side neighbour a little
        # later, so over one cycle the best match of column j against
        # column j+1 is column j+1 shifted back by about one frame
        tracks = [[m["v"][2 * j][2] for m in frames[:10]] for j in range(11)]
        shifts = []
        for j in range(10):
            tail, head = tracks[j], tracks[j + 1]
            shifts.append(max(range(10), key=lambda k: sum(
                head[(i - k) % 10] * tail[i] for i in range(10))))
        c.check("wave runs from head to tail", all(k in (1, 2)
                                                    for k in shifts),
                "column delays %s" % shifts)

    bub = ms.get("Puzir00f.3dm")
    if bub:
        check_model_common(c, "Puzir00f.3dm", bub, 4, 2)
        c.check("bubble transform line",
                "(matrix3 [1,0,0] [0,0,1] [0,-1,0] [0,0,0])" in
                bub.get("transform", []))
        pos = to_scene(bub)
        c.check("bubble is 200 x 200 in z = 0 after conversion",
                sorted({round(p[0], 3) for p in pos}) == [-100, 100] and
                sorted({round(p[1], 3) for p in pos}) == [-100, 100] and
                all(abs(p[2]) < 1e-9 for p in pos), str(pos))
        ns = normals(pos, bub["f"])
        c.check("bubble faces +z after conversion",
                all(n[2] > 0.999 for n in ns), str(ns))

    bot = ms.get("dnoK00f.3dm")
    if bot:
        check_model_common(c, "dnoK00f.3dm", bot, 25, 32)
        pos = to_scene(bot)
        c.check("bottom lies in y = 0", all(p[1] == 0 for p in pos))
        c.check("bottom columns at -15000..15000",
                sorted({p[0] for p in pos}) ==
                [-15000, -7500, 0, 7500, 15000])
        c.check("bottom rows at z = 0, -6000, -8000, -9000, -10000",
                sorted({p[2] for p in pos}, reverse=True) ==
                [0, -6000, -8000, -9000, -10000])
        ns = normals(pos, bot["f"])
        c.check("bottom faces up", all(n[1] > 0.999 for n in ns))
        ok = True
        for (x, _, z), (s, t, _) in zip(pos, bot["t"]):
            ok &= abs(s - (x + 15000) / 30000 * 12) < 1e-6
            ok &= abs(t - (-z) / 10000 * 4) < 1e-6
        c.check("bottom texture repeats 12 across and 4 in depth", ok)


# -------------------------------------------------------------------- MFL

def check_frame_list(c, resdir):
    p = os.path.join(resdir, "DollarsWave.mfl")
    if not c.check("DollarsWave.mfl exists", os.path.exists(p)):
        return
    text = open(p, "rb").read().decode("ascii")
    c.check("frame list ends lines with CR LF",
            text.endswith("\r\n") and
            "\n" not in text.replace("\r\n", "") and
            "\r" not in text.replace("\r\n", ""))
    lines = text.split("\r\n")[:-1]
    c.check("frame list has a flag line and 11 frames", len(lines) == 12,
            str(len(lines)))
    c.check("loop flag line", lines[:1] == ["1 1.0"], repr(lines[:1]))
    times, names = [], []
    for line in lines[1:]:
        t, _, n = line.partition(" ")
        times.append(float(t))
        names.append(n)
    c.check("frame times 0.0 to 2.0 in steps of 0.2",
            [("%.1f" % t) for t in times] ==
            ["%.1f" % (0.2 * i) for i in range(11)] and
            [l.split(" ")[0] for l in lines[1:]] ==
            ["%.1f" % (0.2 * i) for i in range(11)], str(times))
    c.check("frame names in order", names == WAVES, str(names))


def main(argv):
    resdir = argv[0] if argv else os.path.join(REPO, "resources")
    c = Checks()
    check_regeneration(c, resdir)
    check_jpegs(c, resdir)
    check_bubble_mask(c, resdir)
    check_sound(c, resdir)
    check_bitmap(c, resdir)
    check_models(c, resdir)
    check_frame_list(c, resdir)
    print("%d passed, %d failed" % (c.passed, c.failed))
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
