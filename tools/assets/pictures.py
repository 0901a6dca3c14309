"""The bank note, the bubble and its alpha mask."""

import math

import numpy as np
from PIL import Image, ImageDraw

from noise import N, grid, spectral, norm01, smoothstep, rgb, rng

# ------------------------------------------------------------- bank note
#
# The note is drawn on a 1024 x 430 canvas (the shape of the bill mesh),
# supersampled, and squeezed into the square texture; the mesh stretches it
# back to its proper shape.

SS = 2
CW, CH = 1024, 430

PAPER = (214, 223, 203)
PAPER_DARK = (180, 196, 176)
INK = (28, 72, 54)
INK_MID = (74, 118, 96)
INK_LIGHT = (138, 170, 150)

# A small stroke font (x 0..4, y 0..6 downward) for the note's lettering.
GLYPHS = {
    "A": [[(0, 6), (2, 0), (4, 6)], [(1, 3.6), (3, 3.6)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "G": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5),
           (4, 3.2), (2.2, 3.2)]],
    "I": [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 3.5), (4, 0), (4, 6)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "O": [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1),
           (1, 0)]],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)],
          [(2, 3), (4, 6)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
}


class Canvas:
    def __init__(self):
        self.w, self.h = CW * SS, CH * SS
        self.img = np.zeros((self.h, self.w, 3))
        self.img[:] = rgb(PAPER)

    def mask(self):
        m = Image.new("L", (self.w, self.h), 0)
        return m, ImageDraw.Draw(m)

    def paint(self, m, colour, alpha=1.0):
        a = np.asarray(m, dtype=float)[..., None] / 255.0 * alpha
        self.img = self.img + (rgb(colour) - self.img) * a

    def coords(self):
        y, x = np.mgrid[0:self.h, 0:self.w]
        return (x + 0.5) / SS, (y + 0.5) / SS


def s(v):
    return v * SS


def lw(v):
    """Line width in supersampled pixels."""
    return max(1, int(round(v * SS)))


def pts(seq):
    return [(s(x), s(y)) for x, y in seq]


def text(draw, string, x, y, height, width=3):
    """Stroke lettering centred on (x, y)."""
    sc = height / 6.0
    adv = 5.6 * sc
    x0 = x - (adv * len(string) - 1.6 * sc) / 2
    for i, ch in enumerate(string):
        for stroke in GLYPHS.get(ch, []):
            line = [(x0 + i * adv + px * sc, y - height / 2 + py * sc)
                    for px, py in stroke]
            draw.line(pts(line), fill=255, width=lw(width), joint="curve")


def numeral_one(draw, cx, cy, height, fill=255):
    """A bold serif numeral 1 as one polygon."""
    k = height / 10.0
    shape = [(-0.2, -5), (1.1, -5), (1.1, 3.6), (2.6, 3.9), (2.6, 5),
             (-2.6, 5), (-2.6, 3.9), (-1.1, 3.6), (-1.1, -2.6),
             (-2.4, -1.9), (-2.9, -2.9)]
    draw.polygon(pts([(cx + x * k, cy + y * k) for x, y in shape]),
                 fill=fill)


def polar_curve(cx, cy, radius_fn, steps=720):
    out = []
    for i in range(steps + 1):
        t = 2 * math.pi * i / steps
        r = radius_fn(t)
        out.append((cx + r * math.cos(t), cy + r * math.sin(t)))
    return out


def rosette(draw, cx, cy, r0, r1, lobes, count, width=1.0, phase=0.0):
    """Guilloche band: `count` lobed rings between radii r0 and r1."""
    mid, amp = (r0 + r1) / 2, (r1 - r0) / 2
    for j in range(count):
        ph = phase + 2 * math.pi * j / count
        curve = polar_curve(
            cx, cy, lambda t, ph=ph: mid + amp * math.sin(lobes * t + ph))
        draw.line(pts(curve), fill=255, width=lw(width))


def note_side():
    c = Canvas()
    x, y = c.coords()

    # paper: soft tone changes and a fine wavy background print
    u = x / CW
    v = y / CH
    tone = np.sin(2 * math.pi * (u * 1.3 + 0.2)) * np.sin(math.pi * v)
    c.img *= (0.97 + 0.03 * tone)[..., None]
    waves = np.sin(2 * math.pi * (y / 9.0 + 0.6 * np.sin(x / 23.0)))
    c.img = c.img + (rgb(PAPER_DARK) - c.img) * \
        (smoothstep(0.55, 1.0, waves) * 0.55)[..., None]

    # outer frame
    m, d = c.mask()
    d.rectangle([0, 0, s(CW) - 1, s(CH) - 1], fill=255)
    d.rectangle([s(30), s(24), s(CW - 30) - 1, s(CH - 24) - 1], fill=0)
    c.paint(m, INK)
    # ornament in the frame: a chain of light ovals
    m, d = c.mask()
    for i in range(41):
        px = 30 + i * (CW - 60) / 40
        d.ellipse(pts([(px - 9, 6), (px + 9, 18)]), outline=255,
                  width=lw(2))
        d.ellipse(pts([(px - 9, CH - 18), (px + 9, CH - 6)]), outline=255,
                  width=lw(2))
    for i in range(15):
        py = 24 + i * (CH - 48) / 14
        d.ellipse(pts([(7, py - 8), (23, py + 8)]), outline=255, width=lw(2))
        d.ellipse(pts([(CW - 23, py - 8), (CW - 7, py + 8)]), outline=255,
                  width=lw(2))
    c.paint(m, INK_LIGHT)
    # inner rule lines
    m, d = c.mask()
    d.rectangle(pts([(38, 32), (CW - 38, CH - 32)]), outline=255,
                width=lw(3))
    d.rectangle(pts([(46, 40), (CW - 46, CH - 40)]), outline=255,
                width=lw(1))
    c.paint(m, INK)

    # central medallion
    cx, cy = CW / 2, CH / 2
    m, d = c.mask()
    d.ellipse(pts([(cx - 150, cy - 150), (cx + 150, cy + 150)]), fill=255)
    c.paint(m, PAPER, 0.9)
    m, d = c.mask()
    rosette(d, cx, cy, 118, 148, 18, 6, width=1.2)
    d.ellipse(pts([(cx - 150, cy - 150), (cx + 150, cy + 150)]),
              outline=255, width=lw(3))
    d.ellipse(pts([(cx - 114, cy - 114), (cx + 114, cy + 114)]),
              outline=255, width=lw(3))
    c.paint(m, INK_MID)
    # engraved disc: concentric hatching with an eight-fold star cut out
    r = np.hypot(x - cx, y - cy)
    ang = np.arctan2(y - cy, x - cx)
    disc = r < 110
    rings = 0.5 + 0.5 * np.sin(r / 2.2)
    star_r = 60 + 38 * np.abs(np.cos(4 * ang)) ** 3
    star = r < star_r
    inner = r < 42
    hatch = np.where(star & ~inner, 0.5 + 0.5 * np.sin((x + y) / 2.5),
                     rings)
    level = np.where(disc, hatch * 0.85, 0.0)
    level = np.where(inner, 0.0, level)
    c.img = c.img + (rgb(INK) - c.img) * level[..., None] * 0.8
    m, d = c.mask()
    d.ellipse(pts([(cx - 42, cy - 42), (cx + 42, cy + 42)]), outline=255,
              width=lw(4))
    numeral_one(d, cx, cy, 62)
    c.paint(m, INK)

    # corner numerals on lobed discs
    for kx, ky in ((96, 92), (CW - 96, 92), (96, CH - 92), (CW - 96, CH - 92)):
        m, d = c.mask()
        d.ellipse(pts([(kx - 52, ky - 52), (kx + 52, ky + 52)]), fill=255)
        c.paint(m, INK)
        m, d = c.mask()
        rosette(d, kx, ky, 40, 50, 12, 4, width=1.0)
        c.paint(m, INK_LIGHT)
        m, d = c.mask()
        d.ellipse(pts([(kx - 38, ky - 38), (kx + 38, ky + 38)]), fill=255)
        c.paint(m, PAPER)
        m, d = c.mask()
        numeral_one(d, kx, ky, 58)
        c.paint(m, INK)

    # lettering
    m, d = c.mask()
    text(d, "GLIMMORA", cx, 62, 24, width=3)
    text(d, "ONE", cx, CH - 58, 26, width=4)
    c.paint(m, INK)

    # side seals: a toothed ring on the right, an oval guilloche on the left
    m, d = c.mask()
    sx, sy = CW - 250, CH / 2
    teeth = polar_curve(sx, sy, lambda t: 52 + 7 * (1 if math.sin(24 * t)
                                                    > 0 else -1), 1440)
    d.polygon(pts(teeth), fill=255)
    c.paint(m, INK_MID)
    m, d = c.mask()
    d.ellipse(pts([(sx - 38, sy - 38), (sx + 38, sy + 38)]), fill=255)
    c.paint(m, PAPER)
    m, d = c.mask()
    rosette(d, sx, sy, 14, 34, 7, 5, width=1.2)
    c.paint(m, INK_MID)
    m, d = c.mask()
    lx, ly = 250, CH / 2
    for k in range(7):
        rx, ry = 70 - k * 8, 52 - k * 6
        d.ellipse(pts([(lx - rx, ly - ry), (lx + rx, ly + ry)]),
                  outline=255, width=lw(1.5) if k % 2 else lw(2.5))
    c.paint(m, INK_MID)
    m, d = c.mask()
    text(d, "ONE", lx, ly, 22, width=3)
    c.paint(m, INK)

    big = Image.fromarray(np.clip(np.round(c.img * 255), 0, 255)
                          .astype(np.uint8))
    return big


def dollar():
    """Square texture of the note (row 0 = top of the note)."""
    side = note_side().resize((N, N), Image.LANCZOS)
    a = np.asarray(side, dtype=float) / 255.0
    # a touch of paper grain after the squeeze
    grain = spectral(61, beta=0.8, kmin=20)
    return np.clip(a * (1.0 + 0.025 * grain)[..., None], 0, 1)


# ------------------------------------------------------------------ bubble

BUBBLE_R = 118.0


def bubble_layers():
    """(colour image, alpha mask) as float arrays; the mask is grey."""
    y, x = np.mgrid[0:N, 0:N]
    cx = cy = N / 2.0
    r = np.hypot(x + 0.5 - cx, y + 0.5 - cy) / BUBBLE_R     # 1 at the rim
    inside = smoothstep(1.015, 0.985, r)                     # soft edge
    rim = np.exp(-((r - 0.93) / 0.07) ** 2)
    body = 0.22 + 0.55 * np.clip(r, 0, 1) ** 6
    # main highlight upper left, small reflection lower right
    hx, hy = x + 0.5 - (cx - 0.38 * BUBBLE_R), y + 0.5 - (cy - 0.40 * BUBBLE_R)
    hl = np.exp(-((hx / 26.0) ** 2 + (hy / 17.0) ** 2) * 1.5)
    lx, ly = x + 0.5 - (cx + 0.45 * BUBBLE_R), y + 0.5 - (cy + 0.5 * BUBBLE_R)
    ll = np.exp(-((lx / 16.0) ** 2 + (ly / 9.0) ** 2) * 1.5) * 0.6
    alpha = np.clip(body + 0.45 * rim + hl + ll, 0, 1) * inside
    # colour: pale water tint, white toward the rim and in the highlights
    tint = rgb((190, 228, 240))
    white = np.ones(3)
    w = np.clip(0.35 * np.clip(r, 0, 1) ** 3 + rim + hl + ll, 0, 1)
    colour = tint + (white - tint) * w[..., None]
    # outside the bubble keep the rim colour so filtering shows no dark fringe
    out = (r > 1.0)[..., None]
    colour = np.where(out, rgb((225, 242, 248)), colour)
    return colour, np.repeat(alpha[..., None], 3, axis=2)
