"""Meshes of the scene written as 3DM text models and the wave frame list.

Every model is generated from a few numbers here; nothing is random.
Conventions used by the loader (see src/model):
  * one section per "#Name N" heading, N lines follow;
  * vectors are "[x,y,z]" with no blanks, colours "(color r g b)";
  * lines end with CR LF, numbers use "." as the decimal separator;
  * a triangle is a front face when it runs counter-clockwise seen from the
    side its normal points to, normal = (v1 - v0) x (v2 - v0).
Without a "Transform" section the loader keeps the coordinates as written,
so the bill, the wave frames and the sea floor are written in scene axes
(y up).  The bubble carries an object transform (a +90 degree turn about x)
which the loader cancels with its fixed Z-up to Y-up turn.
"""

import math

import numpy as np

CRLF = "\r\n"

BILL_W = 1024.0
BILL_H = 430.0

# Bill material: values of an engraved, mostly matte paper.
BILL_MATERIAL = dict(
    name="Dollars",
    ambient=(22.6664, 16.3332, 46.3329),
    diffuse=(127.0, 127.0, 127.0),
    specular=(229.5, 229.5, 229.5),
    specular_level=5.0,
    glossiness=25.0,
    opacity=100.0,
    diffuse_map="dollar.jpg",
    opacity_map="undefined",
)

BUBBLE_MATERIAL = dict(
    name="Bubble",
    ambient=(200.0, 255.0, 255.0),
    diffuse=(200.0, 255.0, 255.0),
    specular=(255.0, 255.0, 255.0),
    specular_level=0.0,
    glossiness=10.0,
    opacity=100.0,
    diffuse_map="puzir.jpg",
    opacity_map="puzirA.jpg",
)

FLOOR_MATERIAL = dict(
    name="SeaFloor",
    ambient=(40.0, 60.0, 60.0),
    diffuse=(160.0, 150.0, 120.0),
    specular=(0.0, 0.0, 0.0),
    specular_level=0.0,
    glossiness=10.0,
    opacity=100.0,
    diffuse_map="Pesok01.jpg",
    opacity_map="undefined",
)

FRAME_LIST_NAME = "DollarsWave.mfl"
WAVE_FRAMES = 10          # distinct poses; frame 10 repeats frame 0
WAVE_PERIOD = 2.0         # seconds for one full wave cycle
WAVE_SEGMENTS = 10        # strip segments along the bill


def num(v):
    """Shortest stable decimal text for a coordinate (no "-0", no exponent
    for the ranges used here)."""
    v = float(v)
    r = round(v, 4)
    if r == 0:
        return "0"
    if r == int(r) and abs(r) < 1e9:
        return str(int(r))
    s = ("%.4f" % r).rstrip("0").rstrip(".")
    return s


def vec(v):
    return "[" + ",".join(num(c) for c in v) + "]"


def tri(t):
    return "[" + ",".join(str(int(i)) for i in t) + "]"


def color(c):
    return "(color " + " ".join(num(x) for x in c) + ")"


def face_normals(verts, faces):
    """Smooth vertex normals (area weighted), faces 1-based."""
    v = np.asarray(verts, dtype=float)
    n = np.zeros_like(v)
    for a, b, c in faces:
        p0, p1, p2 = v[a - 1], v[b - 1], v[c - 1]
        fn = np.cross(p1 - p0, p2 - p0)
        for i in (a, b, c):
            n[i - 1] += fn
    lens = np.linalg.norm(n, axis=1)
    lens[lens == 0] = 1.0
    return n / lens[:, None]


def material_lines(m):
    return [
        "Name " + m["name"],
        "ShaderType 1 Blinn",
        "Faceted false",
        "WireSize 1",
        "TwoSided false",
        "OpacityType 0",
        "Opacity " + num(m["opacity"]),
        "selfIllumColor " + color((0, 0, 0)),
        "Ambient " + color(m["ambient"]),
        "Diffuse " + color(m["diffuse"]),
        "Specular " + color(m["specular"]),
        "SpecularLevel " + num(m["specular_level"]),
        "Glossiness " + num(m["glossiness"]),
        "DiffuseMap " + m["diffuse_map"],
        "OpacityMap " + m["opacity_map"],
        "BumpMap undefined",
        "ReflectionMap undefined",
    ]


def model_text(obj_name, material, verts, faces, tex, mat_id,
               transform=None):
    """One object, one standard material.  Texture faces equal the vertex
    faces (one texture coordinate per vertex)."""
    out = []

    def section(name, lines):
        out.append("#%s %d" % (name, len(lines)))
        out.extend(lines)

    section("Header", ["Generator glimmora-assets", "Version 1"])
    section("MaterialCount", ["Count 1"])
    section("MaterialStandard", material_lines(material))
    section("Object", ["Name " + obj_name])
    if transform is not None:
        section("Transform", transform)
    section("Vertices", [vec(p) for p in verts])
    section("VertexFaces", [tri(f) for f in faces])
    section("Material", ["Name " + material["name"]])
    section("FaceMatID", [str(mat_id) for _ in faces])
    section("Normals", [vec(p) for p in face_normals(verts, faces)])
    section("TextureCoords", [vec((s, t, 0)) for s, t in tex])
    section("TextureCoordFaces", [tri(f) for f in faces])
    return CRLF.join(out) + CRLF


# --------------------------------------------------------------- flat bill

def flat_bill():
    """Two-sided rectangle in the x-y plane facing +z.  Vertices 1-4 are the
    front (seen from +z), 5-8 the back (seen from -z); both sides show the
    whole note upright and unmirrored."""
    w, h = BILL_W / 2, BILL_H / 2
    verts = [(-w, -h, 0), (w, -h, 0), (w, h, 0), (-w, h, 0),
             (w, -h, 0), (-w, -h, 0), (-w, h, 0), (w, h, 0)]
    tex = [(0, 0), (1, 0), (1, 1), (0, 1)] * 2
    faces = [(1, 2, 3), (1, 3, 4), (5, 6, 7), (5, 7, 8)]
    return model_text("Dollar", BILL_MATERIAL, verts, faces, tex, 1)


# ------------------------------------------------------------- waving bill

def wave_offset(u, phase):
    """Sideways (z) displacement of the strip at u in [0,1] (0 = tail at -x,
    1 = head at +x).  The crest runs from head to tail while the amplitude
    grows toward the tail, as a swimming fish's body does."""
    amp = 18.0 + 92.0 * (1.0 - u) ** 1.5
    k = 2.0 * math.pi * 1.1          # a little more than one wave on the body
    return amp * math.sin(k * u + phase)


def wave_frame_vertices(frame):
    """44 vertices: front side (seen from +z, the viewer) 1..22, back side
    23..44.  The strip stands upright like a fish's body and its tail beats
    toward and away from the viewer.  Per side, column i (0..10) along x
    gives vertices 2i+1 (y = -h, lower edge) and 2i+2 (y = +h, upper edge)."""
    phase = 2.0 * math.pi * (frame % WAVE_FRAMES) / WAVE_FRAMES
    w, h = BILL_W / 2, BILL_H / 2
    side = []
    for i in range(WAVE_SEGMENTS + 1):
        u = i / WAVE_SEGMENTS
        x = -w + BILL_W * u
        z = wave_offset(u, phase)
        side.append((x, -h, z))
        side.append((x, h, z))
    return side + side


def wave_faces_and_tex():
    faces = []
    n = WAVE_SEGMENTS + 1
    # front: counter-clockwise seen from +z
    for i in range(WAVE_SEGMENTS):
        a, b = 2 * i + 1, 2 * i + 2          # lower, upper at column i
        c, d = a + 2, b + 2                  # lower, upper at column i+1
        faces.append((a, c, d))
        faces.append((a, d, b))
    # back: same quads with the opposite turn, seen from -z
    off = 2 * n
    for i in range(WAVE_SEGMENTS):
        a, b = off + 2 * i + 1, off + 2 * i + 2
        c, d = a + 2, b + 2
        faces.append((a, b, d))
        faces.append((a, d, c))
    tex = []
    for i in range(n):                       # front: note upright
        s = i / WAVE_SEGMENTS
        tex.append((s, 0.0))                 # lower edge = bottom of the note
        tex.append((s, 1.0))
    for i in range(n):                       # back: upright, not mirrored
        s = 1.0 - i / WAVE_SEGMENTS
        tex.append((s, 0.0))
        tex.append((s, 1.0))
    return faces, tex


def wave_frame(frame):
    faces, tex = wave_faces_and_tex()
    return model_text("DollarWave", BILL_MATERIAL,
                      wave_frame_vertices(frame), faces, tex, 3)


def wave_name(frame):
    return "DollarsWave%02df.3dm" % frame


def frame_list():
    lines = ["1 1.0"]
    for f in range(WAVE_FRAMES + 1):
        t = WAVE_PERIOD * f / WAVE_FRAMES
        lines.append("%.1f %s" % (t, wave_name(f)))
    return CRLF.join(lines) + CRLF


# ------------------------------------------------------------------ bubble

BUBBLE_TRANSFORM = [
    "Position [0,0,0]",
    "Rotation 90.0 [1,0,0]",
    "Scale [1,1,1]",
    "(matrix3 [1,0,0] [0,0,1] [0,-1,0] [0,0,0])",
]


def bubble():
    """200 x 200 square in the file's x-y plane, counter-clockwise seen from
    +z.  The object transform (x,y,z)->(x,-z,y) and the loader's
    (x,y,z)->(x,z,-y) cancel, so it faces +z in the scene too."""
    r = 100
    verts = [(-r, -r, 0), (r, -r, 0), (r, r, 0), (-r, r, 0)]
    tex = [(0, 0), (1, 0), (1, 1), (0, 1)]
    faces = [(1, 2, 3), (1, 3, 4)]
    return model_text("Bubble", BUBBLE_MATERIAL, verts, faces, tex, 1,
                      transform=BUBBLE_TRANSFORM)


# --------------------------------------------------------------- sea floor

FLOOR_X = [-15000, -7500, 0, 7500, 15000]
FLOOR_Z = [0, -6000, -8000, -9000, -10000]
FLOOR_REPEAT_S = 12.0
FLOOR_REPEAT_T = 4.0


def floor():
    """5 x 5 grid in y = 0, rows getting sparser toward the far edge where
    the distance shading hides detail.  Vertex (row r, column c) is number
    5r + c + 1; every triangle is counter-clockwise seen from above."""
    verts, tex = [], []
    for z in FLOOR_Z:
        for x in FLOOR_X:
            verts.append((x, 0, z))
            tex.append(((x - FLOOR_X[0]) / 30000.0 * FLOOR_REPEAT_S,
                        -z / 10000.0 * FLOOR_REPEAT_T))
    faces = []
    for r in range(4):
        for c in range(4):
            a = 5 * r + c + 1        # near left
            b = a + 1                # near right
            d = a + 5                # far left
            e = d + 1                # far right
            faces.append((a, b, e))
            faces.append((a, e, d))
    return model_text("SeaFloor", FLOOR_MATERIAL, verts, faces, tex, 1)


def all_models():
    """File name -> text, in a fixed order."""
    files = {"Dollaro00f.3dm": flat_bill()}
    for f in range(WAVE_FRAMES + 1):
        files[wave_name(f)] = wave_frame(f)
    files[FRAME_LIST_NAME] = frame_list()
    files["Puzir00f.3dm"] = bubble()
    files["dnoK00f.3dm"] = floor()
    return files
