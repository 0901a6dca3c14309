"""Small periodic noise toolkit for 256 x 256 tiles.

Everything here wraps around at the tile edges, so images built from it
repeat without seams.  Random numbers come from numpy's legacy RandomState,
whose streams are fixed for a given seed.
"""

import numpy as np

N = 256


def rng(seed):
    return np.random.RandomState(seed)


def grid(n=N):
    """Pixel-centre coordinates in [0,1): (u, v) arrays, v down the rows."""
    c = (np.arange(n) + 0.5) / n
    u, v = np.meshgrid(c, c)
    return u, v


def spectral(seed, beta=2.0, kmin=1.0, kmax=None, n=N):
    """Periodic fractal noise: white noise shaped to a 1/k^beta power
    spectrum between the integer wave numbers kmin and kmax, scaled to
    zero mean and unit standard deviation."""
    r = rng(seed)
    white = r.standard_normal((n, n))
    f = np.fft.fft2(white)
    k = np.fft.fftfreq(n) * n
    kx, ky = np.meshgrid(k, k)
    kr = np.sqrt(kx * kx + ky * ky)
    filt = np.zeros_like(kr)
    band = kr >= kmin
    if kmax is not None:
        band &= kr <= kmax
    filt[band] = kr[band] ** (-beta / 2.0)
    out = np.real(np.fft.ifft2(f * filt))
    out -= out.mean()
    sd = out.std()
    return out / sd if sd > 0 else out


def sample(img, u, v):
    """Bilinear lookup with wrap-around; u, v in tile units."""
    n = img.shape[0]
    x = (u * n - 0.5) % n
    y = (v * n - 0.5) % n
    x0 = np.floor(x).astype(int)
    y0 = np.floor(y).astype(int)
    fx = x - x0
    fy = y - y0
    x1 = (x0 + 1) % n
    y1 = (y0 + 1) % n
    a = img[y0, x0] * (1 - fx) + img[y0, x1] * fx
    b = img[y1, x0] * (1 - fx) + img[y1, x1] * fx
    return a * (1 - fy) + b * fy


def voronoi(points, u, v, k=2):
    """Distances to the nearest k feature points on the unit torus, sorted,
    shape (k,) + u.shape; also the index of the nearest point."""
    px = points[:, 0][:, None]
    py = points[:, 1][:, None]
    uu = u.reshape(1, -1)
    vv = v.reshape(1, -1)
    dx = np.abs(uu - px)
    dy = np.abs(vv - py)
    dx = np.minimum(dx, 1.0 - dx)
    dy = np.minimum(dy, 1.0 - dy)
    d = np.sqrt(dx * dx + dy * dy)
    nearest = np.argmin(d, axis=0)
    part = np.sort(np.partition(d, k - 1, axis=0)[:k], axis=0)
    return part.reshape((k,) + u.shape), nearest.reshape(u.shape)


def jittered_points(seed, cells):
    """Feature points on a cells x cells jittered grid in [0,1)^2."""
    r = rng(seed)
    pts = []
    for j in range(cells):
        for i in range(cells):
            pts.append(((i + 0.15 + 0.7 * r.rand()) / cells,
                        (j + 0.15 + 0.7 * r.rand()) / cells))
    return np.array(pts)


def blur(img, radius):
    """Periodic Gaussian blur through the FFT; radius in pixels."""
    n = img.shape[0]
    k = np.fft.fftfreq(n)
    kx, ky = np.meshgrid(k, k)
    g = np.exp(-2.0 * (np.pi * radius) ** 2 * (kx * kx + ky * ky))
    if img.ndim == 3:
        return np.stack([np.real(np.fft.ifft2(np.fft.fft2(img[..., c]) * g))
                         for c in range(img.shape[2])], axis=-1)
    return np.real(np.fft.ifft2(np.fft.fft2(img) * g))


def norm01(a):
    lo, hi = a.min(), a.max()
    return (a - lo) / (hi - lo) if hi > lo else a * 0


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def mix(a, b, t):
    t = np.asarray(t)
    if t.ndim == 2 and np.ndim(a) == 3 or np.ndim(b) == 3:
        t = t[..., None] if t.ndim == 2 else t
    return a + (b - a) * t


def rgb(c):
    return np.array(c, dtype=float) / 255.0


def to_u8(img):
    return np.clip(np.round(img * 255.0), 0, 255).astype(np.uint8)
