#!/usr/bin/python3
"""Writes the program's icon: a dollar bill sinking through deep water
with two bubbles, at 16, 24, 32 and 48 pixels, 32-bit with alpha.

    python3 tools/assets/make_icon.py [OUT.ico]

OUT defaults to resources/program/Glimmora3D.ico of the repository.  Only
the standard library is used, and the output is the same byte for byte on
every run.
"""

import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
DEFAULT_OUT = os.path.join(REPO, "resources", "program", "Glimmora3D.ico")
SIZES = (16, 24, 32, 48)
SUPER = 4          # samples per pixel along each axis


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def over(dst, src, alpha):
    """src over dst (both RGBA, straight alpha) with extra coverage alpha."""
    sa = src[3] * alpha
    da = dst[3]
    oa = sa + da * (1.0 - sa)
    if oa <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    rgb = [(src[i] * sa + dst[i] * da * (1.0 - sa)) / oa for i in range(3)]
    return (rgb[0], rgb[1], rgb[2], oa)


def sample(u, v):
    """The colour at (u, v) in 0..1 (v down), RGBA 0..1."""
    # Rounded square of water, lighter near the surface.
    r = 0.18
    dx = max(abs(u - 0.5) - (0.5 - r), 0.0)
    dy = max(abs(v - 0.5) - (0.5 - r), 0.0)
    if dx * dx + dy * dy > r * r:
        return (0.0, 0.0, 0.0, 0.0)
    c = mix((0.10, 0.62, 0.78), (0.02, 0.12, 0.34), v) + (1.0,)
    # Caustic ripples near the top.
    ripple = 0.5 + 0.5 * math.sin(u * 19.0 + math.sin(v * 11.0) * 2.0)
    c = over(c, (0.55, 0.90, 1.0, 1.0), 0.22 * ripple * max(0.0, 1.0 - v * 2.2))
    # The bill: a rectangle tilted by 24 degrees.
    a = math.radians(24.0)
    px, py = u - 0.47, v - 0.56
    bx = px * math.cos(a) + py * math.sin(a)
    by = -px * math.sin(a) + py * math.cos(a)
    if abs(bx) < 0.34 and abs(by) < 0.16:
        edge = abs(bx) > 0.30 or abs(by) > 0.12
        c = over(c, (0.16, 0.42, 0.20, 1.0) if edge else (0.55, 0.78, 0.52, 1.0), 1.0)
        if (bx / 0.10) ** 2 + (by / 0.085) ** 2 < 1.0:
            c = over(c, (0.20, 0.50, 0.26, 1.0), 1.0)
    # Two bubbles: bright rings with a faint fill.
    for cx, cy, rr in ((0.78, 0.26, 0.11), (0.64, 0.11, 0.06)):
        d = math.hypot(u - cx, v - cy)
        if d < rr:
            ring = d > rr * 0.72
            c = over(c, (0.92, 0.98, 1.0, 1.0), 0.95 if ring else 0.25)
    return c


def render(size):
    """Rows top-down of (B, G, R, A) bytes."""
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    u = (x + (sx + 0.5) / SUPER) / size
                    v = (y + (sy + 0.5) / SUPER) / size
                    r, g, b, al = sample(u, v)
                    acc[0] += r * al
                    acc[1] += g * al
                    acc[2] += b * al
                    acc[3] += al
            n = SUPER * SUPER
            alpha = acc[3] / n
            if alpha > 0.0:
                rgb = [acc[i] / acc[3] for i in range(3)]
            else:
                rgb = [0.0, 0.0, 0.0]
            to8 = lambda f: max(0, min(255, int(round(f * 255.0))))
            row += bytes((to8(rgb[2]), to8(rgb[1]), to8(rgb[0]), to8(alpha)))
        rows.append(bytes(row))
    return rows


def dib(size):
    """One icon image: BITMAPINFOHEADER, XOR bits bottom-up, AND mask."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(reversed(rows))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x in range(size):
            if row[x * 4 + 3] == 0:          # fully transparent: masked out
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def icon():
    images = [dib(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "wb") as f:
        f.write(icon())
    print("wrote %s" % path)


if __name__ == "__main__":
    main()
