"""Bubbling water, synthesised and wrapped around so that it loops without
a seam, then encoded as stereo Microsoft ADPCM with sox."""

import os
import subprocess
import tempfile
import wave

import numpy as np

RATE = 11025
BLOCK_SAMPLES = 500            # samples per channel in one 512-byte block
BLOCKS = 98
FRAMES = BLOCK_SAMPLES * BLOCKS   # 49000 frames, about 4.44 s


def _pop(r, n):
    """One bubble: a short sine whose pitch rises as it decays."""
    f0 = 380.0 * np.exp(r.rand() * np.log(1600.0 / 380.0))
    tau = 0.008 + 0.03 * r.rand() * (600.0 / f0) ** 0.5
    length = int(min(n, tau * 6 * RATE))
    t = np.arange(length) / RATE
    rise = 1.0 + (0.2 + 0.5 * r.rand()) * t / (tau * 6)
    phase = 2 * np.pi * np.cumsum(f0 * rise) / RATE
    env = np.exp(-t / tau) * np.minimum(1.0, t * RATE / 12.0)
    return np.sin(phase + 2 * np.pi * r.rand()) * env


def pcm(seed=77):
    """Stereo float signal, shape (FRAMES, 2), peak 0.7."""
    r = np.random.RandomState(seed)
    out = np.zeros((FRAMES, 2))
    # bubbles come in streams: bursts of pops around a few centres
    starts = []
    for _ in range(14):
        centre = r.randint(FRAMES)
        for _ in range(3 + r.randint(8)):
            starts.append(int(centre + r.standard_normal() * 0.12 * RATE))
    for _ in range(40):
        starts.append(r.randint(FRAMES))
    for s in starts:
        p = _pop(r, FRAMES)
        gain = 0.25 + 0.75 * r.rand() ** 2
        pan = r.rand()
        idx = (s + np.arange(len(p))) % FRAMES       # wrap around the loop
        np.add.at(out[:, 0], idx, p * gain * np.sqrt(1 - pan))
        np.add.at(out[:, 1], idx, p * gain * np.sqrt(pan))
    # low murmur: band-limited periodic noise (periodic over the loop)
    for ch in range(2):
        spec = np.fft.rfft(r.standard_normal(FRAMES))
        f = np.fft.rfftfreq(FRAMES, 1.0 / RATE)
        band = np.exp(-((f - 180.0) / 120.0) ** 2)
        hum = np.fft.irfft(spec * band, FRAMES)
        out[:, ch] += hum / np.abs(hum).max() * 0.08
    return out / np.abs(out).max() * 0.7


def write_pcm_wav(path, data):
    ints = np.round(np.clip(data, -1, 1) * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(ints.tobytes())


def make(path):
    """Write the ADPCM wave file to `path`."""
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "bubbles.wav")
        write_pcm_wav(src, pcm())
        # no dither: sox would seed it from the clock
        subprocess.run(["sox", "--no-show-progress", "-V1", "-D", src,
                        "-t", "wav", "-e", "ms-adpcm", path], check=True)
