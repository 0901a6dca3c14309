"""Tileable 256 x 256 textures of the scene: caustics, sea floors, water
surfaces and the bubble.  Each function returns an RGB float image in
[0,1] of shape (256, 256, 3); row 0 is the top of the picture."""

import numpy as np

from noise import (N, grid, spectral, sample, voronoi, jittered_points,
                   blur, norm01, smoothstep, rgb, rng)


# ---------------------------------------------------------------- caustics

def caustic_field(seed, cells=5, warp=0.045, sharp=0.030):
    """Bright web of focused light: the borders of warped Voronoi cells,
    brightest where several borders meet.  Returns values in [0,1]."""
    u, v = grid()
    wu = spectral(seed + 1, beta=3.2, kmin=1, kmax=24)
    wv = spectral(seed + 2, beta=3.2, kmin=1, kmax=24)
    uu = (u + warp * wu) % 1.0
    vv = (v + warp * wv) % 1.0
    pts = jittered_points(seed, cells)
    d, _ = voronoi(pts, uu, vv, k=3)
    edge = d[1] - d[0]                    # 0 on a cell border
    triple = d[2] - d[0]                  # small near a junction
    line = np.exp(-edge / sharp)
    glow = np.exp(-edge / (sharp * 3.0)) * 0.22
    knot = np.exp(-triple / (sharp * 2.2)) * 0.5
    return np.clip(line * 0.85 + glow + knot, 0, None)


def caustic(seed, tint, ground, soft=False):
    """Two caustic webs of different scale; `tint` colours the light,
    `ground` the dark water between the lines."""
    big = caustic_field(seed, cells=4, warp=0.05, sharp=0.022)
    small = caustic_field(seed + 10, cells=7, warp=0.035, sharp=0.016)
    f = big + small * 0.3
    if soft:
        f = blur(f, 3.0)
    # slow variation of the light strength across the tile
    shade = 0.75 + 0.25 * norm01(spectral(seed + 20, beta=3.0, kmin=1,
                                          kmax=4))
    f = f * shade
    f = 1.0 - np.exp(-1.2 * f)            # soft roll-off of the highlights
    f = norm01(f) ** 1.35
    t = rgb(tint)
    g = rgb(ground)
    img = g + (t - g) * f[..., None]
    # the brightest knots burn out toward white
    white = np.clip((f - 0.75) / 0.25, 0, 1)[..., None] ** 2
    return img + (1.0 - img) * white * 0.6


CAUSTIC_THEMES = [
    # (seed, light tint, ground) for themes 0, 1, 2
    (101, (190, 255, 250), (10, 58, 66)),
    (202, (185, 225, 255), (8, 40, 70)),
    (303, (205, 255, 215), (10, 60, 42)),
]


def caustic_theme(i):
    seed, tint, ground = CAUSTIC_THEMES[i]
    return caustic(seed, tint, ground)


def shimmer():
    """Soft, light shimmer for the sphere-mapped pass on the bills."""
    f = caustic_field(505, cells=4, warp=0.06, sharp=0.05)
    f = norm01(blur(f, 4.0))
    base = rgb((120, 150, 150))
    light = rgb((245, 255, 255))
    return base + (light - base) * f[..., None] ** 0.8


# ---------------------------------------------------------------- lighting

def relief(height, light=(-0.6, -0.8), strength=6.0):
    """Lambert-like shading of a periodic height field lit from `light`
    (direction in image x, y); 1.0 on flat ground."""
    gx = (np.roll(height, -1, axis=1) - np.roll(height, 1, axis=1)) * 0.5
    gy = (np.roll(height, -1, axis=0) - np.roll(height, 1, axis=0)) * 0.5
    lx, ly = light
    ln = np.hypot(lx, ly)
    s = -(gx * lx + gy * ly) / ln * strength
    return 1.0 + s


# -------------------------------------------------------------- sea floors

def sand():
    """Fine sand with soft ripple ridges and scattered grains."""
    u, v = grid()
    warp = spectral(11, beta=3.5, kmin=1, kmax=8)
    phase = 2 * np.pi * (2 * u + 5 * v) + 1.8 * warp
    ripple = np.sin(phase)
    ripple = np.sign(ripple) * np.abs(ripple) ** 0.7   # sharper crests
    dunes = spectral(12, beta=3.0, kmin=1, kmax=6)
    grain = spectral(13, beta=0.3, kmin=40)
    height = ripple * 0.9 + dunes * 0.6 + grain * 0.08
    light = relief(height, strength=0.5)
    base = rgb((196, 184, 140))
    tint = norm01(spectral(14, beta=2.5, kmin=1, kmax=16))
    col = base[None, None, :] * (0.88 + 0.18 * tint[..., None])
    col = col * light[..., None]
    r = rng(15)
    specks = r.rand(N, N)
    dark = (specks < 0.025)[..., None]
    bright = (specks > 0.985)[..., None]
    col = np.where(dark, col * 0.72, col)
    col = np.where(bright, col * 0.6 + 0.4, col)
    col = blur(col, 0.45)
    return np.clip(col, 0, 1)


def stones(seed, cells, palette, gap_colour, fill, flat, rough_amp,
           warp=0.02, crack=0.0):
    """Rounded stones on a periodic jittered grid with `gap_colour` showing
    between them.  Each stone is a dome around its feature point, clipped
    by its Voronoi cell; `fill` sets how much of the cell it covers and
    `flat` how flat its top is."""
    u, v = grid()
    wu = spectral(seed + 1, beta=3.0, kmin=2, kmax=20)
    wv = spectral(seed + 2, beta=3.0, kmin=2, kmax=20)
    uu = (u + warp * wu) % 1.0
    vv = (v + warp * wv) % 1.0
    pts = jittered_points(seed, cells)
    d, idx = voronoi(pts, uu, vv, k=2)
    r = rng(seed + 4)
    radius = (fill * (0.75 + 0.25 * r.rand(len(pts))) / cells)[idx]
    edge = (d[1] - d[0]) * 0.5           # distance to the cell border
    # distance inside the stone outline: the tighter of circle and cell
    inside = np.minimum(radius - d[0], edge * 1.6 - 0.004)
    depth = np.clip(inside / (radius * flat), 0, 1)
    dome = np.sqrt(1.0 - (1.0 - depth) ** 2)
    rough = spectral(seed + 3, beta=1.8, kmin=6)
    height = dome * 60.0 / cells + rough * rough_amp
    light = relief(height, strength=0.9)
    cols = np.array([palette[r.randint(len(palette))] for _ in pts],
                    dtype=float) / 255.0
    cols *= (0.85 + 0.3 * r.rand(len(pts)))[:, None]
    stone = cols[idx]
    mottle = spectral(seed + 5, beta=2.0, kmin=4, kmax=64)
    stone = stone * (1.0 + 0.1 * mottle[..., None])
    grain = spectral(seed + 6, beta=0.5, kmin=30)
    gapc = rgb(gap_colour) * (0.92 + 0.05 * grain)[..., None]
    m = smoothstep(0.0, 0.004, inside)[..., None]
    col = gapc + (stone * np.clip(light, 0.3, 1.7)[..., None] - gapc) * m
    # contact shadow on the ground around each stone, toward the lower right
    sh = blur(m[..., 0], 2.5)
    sh = np.roll(np.roll(sh, 3, axis=0), 3, axis=1)
    col *= (1.0 - 0.45 * sh * (1.0 - m[..., 0]))[..., None]
    if crack > 0:
        cr = np.abs(spectral(seed + 7, beta=2.2, kmin=3, kmax=40))
        col *= (1.0 - crack * np.exp(-cr / 0.05) * m[..., 0])[..., None]
    return np.clip(col, 0, 1)


def pebbles():
    pal = [(150, 145, 135), (120, 112, 100), (170, 160, 140), (105, 110, 110),
           (140, 125, 105), (185, 175, 160), (95, 90, 85), (160, 140, 115)]
    return stones(21, 9, pal, (178, 166, 126), fill=0.5, flat=0.9,
                  rough_amp=0.05, warp=0.01)


def rocks():
    pal = [(105, 112, 100), (88, 95, 90), (120, 120, 106), (78, 86, 84),
           (110, 105, 90), (95, 108, 98)]
    col = stones(31, 5, pal, (118, 112, 88), fill=0.8, flat=0.7,
                 rough_amp=0.2, warp=0.03, crack=0.3)
    algae = smoothstep(0.5, 1.8, spectral(36, beta=2.4, kmin=2, kmax=32))
    green = rgb((70, 110, 60))
    col = col + (green * (0.5 + 0.8 * col.mean(axis=2, keepdims=True))
                 - col) * (algae * 0.45)[..., None]
    return np.clip(col, 0, 1)


# ----------------------------------------------------------- water surface

def water_surface(seed, deep, light):
    """The surface seen from below: broad swells with bright, wavering
    bands of sky light along the wave crests."""
    u, v = grid()
    wu = spectral(seed + 2, beta=3.5, kmin=1, kmax=8)
    wv = spectral(seed + 3, beta=3.5, kmin=1, kmax=8)
    h = spectral(seed, beta=3.6, kmin=1, kmax=16)
    n = spectral(seed + 1, beta=3.0, kmin=2, kmax=14)
    n = sample(n, u + 0.04 * wu, v + 0.04 * wv)
    ridges = blur((1.0 - np.clip(np.abs(n) / 1.2, 0, 1)) ** 5, 0.8)
    slope = norm01(relief(h, light=(0.3, -1.0), strength=3.0))
    f = np.clip(0.55 * slope + 0.8 * ridges, 0, 1)
    f = smoothstep(0.1, 1.0, f)
    d = rgb(deep)
    l = rgb(light)
    col = d + (l - d) * f[..., None]
    glint = np.clip((ridges - 0.7) / 0.3, 0, 1) ** 2
    return np.clip(col + glint[..., None] * 0.3, 0, 1)


WATER_THEMES = [
    (41, (0, 120, 140), (170, 240, 250)),
    (42, (2, 95, 140), (165, 215, 250)),
    (43, (2, 130, 112), (175, 245, 225)),
]


def water_theme(i):
    seed, deep, light = WATER_THEMES[i]
    return water_surface(seed, deep, light)
