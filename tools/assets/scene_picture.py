"""A small still of the underwater scene for the settings dialog: the same
camera, planes, shading and colours as the running scene (Immersion theme),
ray-cast with numpy, with a few bills and bubbles composited on top."""

import math

import numpy as np
from PIL import Image, ImageDraw

from noise import sample, rgb, to_u8

W, H = 150, 110
SS = 3                         # supersampling factor

FOV = 75.0
WATER_Y, BOTTOM_Y = 5000.0, -3000.0
SHADE_START, FAR = 6000.0, 10000.0
WATER_COLOUR = (0, 0.612, 0.7098)
BOTTOM_COLOUR = (0, 0.4706, 0.55)
BILL_COLOUR = (0.7255, 0.961, 1.0)
BUBBLE_COLOUR = (0.784, 1.0, 1.0)


def _plane(px, py, height, tex, caustic, caustic_alpha, shade_colour,
           drift):
    t = height / np.where(py == 0, 1e-9, py)
    hit = t > 0
    X = px * t
    Z = -t
    s = (X + 15000.0) / 30000.0 * 12.0
    q = -Z / 10000.0 * 4.0
    base = np.stack([sample(tex[..., c], s, q) for c in range(3)], -1)
    cs = np.stack([sample(caustic[..., c], s + drift, q + 0.3)
                   for c in range(3)], -1)
    col = base + (cs - base) * caustic_alpha
    a = np.clip((-Z - SHADE_START) / (FAR - SHADE_START), 0, 1)[..., None]
    col = col + (np.array(shade_colour) - col) * a
    inside = hit & (Z >= -FAR)
    return col, inside


def _perspective_coeffs(dst, src):
    """Coefficients for PIL's PERSPECTIVE transform mapping output points
    `dst` to input points `src`."""
    a, b = [], []
    for (x, y), (u, v) in zip(dst, src):
        a.append([x, y, 1, 0, 0, 0, -u * x, -u * y])
        a.append([0, 0, 0, x, y, 1, -v * x, -v * y])
        b += [u, v]
    return np.linalg.solve(np.array(a, float), np.array(b, float)).tolist()


def _project(p, w, h):
    f = 1.0 / math.tan(math.radians(FOV) / 2)
    x, y, z = p
    sx = (x * f / (-z) / (w / h) + 1) * 0.5 * w
    sy = (1 - y * f / (-z)) * 0.5 * h
    return sx, sy


def _rot(ax, ay, az):
    cx, sx = math.cos(ax), math.sin(ax)
    cy, sy = math.cos(ay), math.sin(ay)
    cz, sz = math.cos(az), math.sin(az)
    rx = np.array([[1, 0, 0], [0, cx, -sx], [0, sx, cx]])
    ry = np.array([[cy, 0, sy], [0, 1, 0], [-sy, 0, cy]])
    rz = np.array([[cz, -sz, 0], [sz, cz, 0], [0, 0, 1]])
    return ry @ rx @ rz


BILLS = [  # position, rotation (degrees about x, y, z)
    ((-1500, 1400, -4200), (25, 30, 15)),
    ((1300, 300, -3000), (-35, -20, -25)),
    ((2600, 2400, -6500), (60, 10, 40)),
    ((-2200, -1200, -3600), (-15, 50, -10)),
    ((400, 2900, -5200), (10, -45, 70)),
    ((-300, -300, -2200), (40, 15, -5)),
]
BUBBLES = [(-2600, 500, -2600), (-2450, 1100, -2700), (-2700, 1800, -2650),
           (2200, -800, -2500), (2300, -100, -2450), (2150, 700, -2550),
           (2500, 2000, -3900), (-600, 3300, -4800), (3400, 3800, -6000)]


def scene_picture(bottom_tex, water_tex, caustic_tex, note, bubble_rgb,
                  bubble_alpha):
    w, h = W * SS, H * SS
    y, x = np.mgrid[0:h, 0:w]
    th = math.tan(math.radians(FOV) / 2)
    px = ((x + 0.5) / w * 2 - 1) * th * (w / h)
    py = (1 - (y + 0.5) / h * 2) * th
    # backdrop: gradient at the far distance between water and bottom
    yf = py * FAR
    g = np.clip((WATER_Y - yf) / (WATER_Y - BOTTOM_Y), 0, 1)[..., None]
    img = np.array(WATER_COLOUR) + (np.array(BOTTOM_COLOUR) -
                                     np.array(WATER_COLOUR)) * g
    col, m = _plane(px, py, BOTTOM_Y, bottom_tex, caustic_tex, 0.35,
                    BOTTOM_COLOUR, 0.0)
    img = np.where(m[..., None], col, img)
    col, m = _plane(px, py, WATER_Y, water_tex, caustic_tex, 0.65,
                    WATER_COLOUR, 0.5)
    img = np.where(m[..., None], col, img)
    canvas = Image.fromarray(to_u8(img))

    # bills, far ones first
    note_img = Image.fromarray(to_u8(note * np.array(BILL_COLOUR)))
    nw, nh = note_img.size
    for pos, rot in sorted(BILLS, key=lambda b: b[0][2]):
        r = _rot(*[math.radians(a) for a in rot])
        corners = [(-512, 215), (512, 215), (512, -215), (-512, -215)]
        scr = []
        for cx, cy in corners:
            p = r @ np.array([cx, cy, 0.0]) + np.array(pos, float)
            scr.append(_project(p, w, h))
        src = [(0, 0), (nw, 0), (nw, nh), (0, nh)]
        # which side faces the camera decides the mirror image
        normal = r @ np.array([0, 0, 1.0])
        to_cam = -np.array(pos, float)
        if normal @ to_cam < 0:
            src = [(nw, 0), (0, 0), (0, nh), (nw, nh)]
        coeffs = _perspective_coeffs(scr, src)
        layer = note_img.transform((w, h), Image.PERSPECTIVE, coeffs,
                                   Image.BILINEAR)
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).polygon(scr, fill=255)
        canvas.paste(layer, (0, 0), mask)

    # bubbles (billboards, drawn a little larger than life to read well)
    brgb = Image.fromarray(to_u8(bubble_rgb * np.array(BUBBLE_COLOUR)))
    balpha = Image.fromarray(to_u8(bubble_alpha[..., 0]))
    for pos in sorted(BUBBLES, key=lambda b: b[2]):
        x0, y0 = _project((pos[0] - 150, pos[1] + 150, pos[2]), w, h)
        x1, y1 = _project((pos[0] + 150, pos[1] - 150, pos[2]), w, h)
        size = max(2, int(round(x1 - x0)))
        b = brgb.resize((size, size), Image.LANCZOS)
        a = balpha.resize((size, size), Image.LANCZOS)
        canvas.paste(b, (int(round(x0)), int(round(y0))), a)

    small = canvas.resize((W, H), Image.LANCZOS)
    return small.quantize(colors=256, method=Image.Quantize.MEDIANCUT,
                          dither=Image.Dither.NONE)
