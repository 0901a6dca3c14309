#!/usr/bin/python3
"""Writes every embedded asset of the screen saver.

    /usr/bin/python3 tools/assets/make_assets.py [OUTDIR] [--sheet PNG]

OUTDIR defaults to resources/ of the repository.  Without arguments the
contact sheet docs/assets.png is written too; with an OUTDIR only when
--sheet is given.  The output is the same, byte for byte, on every run.
Needs python3-numpy, python3-pil and sox.
"""

import io
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import numpy as np                      # noqa: E402
from PIL import Image, ImageDraw, ImageFont  # noqa: E402

import models                           # noqa: E402
import pictures                         # noqa: E402
import scene_picture                    # noqa: E402
import sound                            # noqa: E402
import textures                         # noqa: E402
from noise import to_u8                 # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))

JPEG_QUALITY = 90
SOUND_NAME = "sbubles"
PICTURE_NAME = "Background.bmp"


def jpeg_bytes(img):
    """Progressive baseline-free JPEG of an RGB float image; the encoder
    settings are fixed so the bytes are reproducible."""
    buf = io.BytesIO()
    Image.fromarray(to_u8(img), "RGB").save(
        buf, "JPEG", quality=JPEG_QUALITY, progressive=True, optimize=True,
        subsampling=0)
    return buf.getvalue()


def build_images():
    """Name -> float RGB image of every JPEG texture."""
    imgs = {}
    imgs["dollar.jpg"] = pictures.dollar()
    for i in range(3):
        imgs["caust%d.jpg" % (i + 1)] = textures.caustic_theme(i)
    imgs["caust5.jpg"] = textures.shimmer()
    imgs["Pesok01.jpg"] = textures.sand()
    imgs["dno02.jpg"] = textures.pebbles()
    imgs["dno03.jpg"] = textures.rocks()
    for i in range(3):
        imgs["voda%d.jpg" % (i + 1)] = textures.water_theme(i)
    colour, alpha = pictures.bubble_layers()
    imgs["puzir.jpg"] = colour
    imgs["puzirA.jpg"] = alpha
    return imgs


def build_picture(imgs):
    """The dialog's still, drawn from the decoded textures."""
    def decoded(name):
        data = jpeg_bytes(imgs[name])
        return np.asarray(Image.open(io.BytesIO(data)).convert("RGB"),
                          dtype=float) / 255.0
    note = Image.fromarray(to_u8(decoded("dollar.jpg"))).resize(
        (512, 215), Image.LANCZOS)
    pic = scene_picture.scene_picture(
        decoded("Pesok01.jpg"), decoded("voda1.jpg"), decoded("caust1.jpg"),
        np.asarray(note, dtype=float) / 255.0,
        decoded("puzir.jpg"), decoded("puzirA.jpg"))
    buf = io.BytesIO()
    pic.save(buf, "BMP")
    return buf.getvalue()


def contact_sheet(outdir, path):
    """One labelled overview of every picture, for the documentation."""
    names = ["dollar.jpg", "caust1.jpg", "caust2.jpg", "caust3.jpg",
             "caust5.jpg", "Pesok01.jpg", "dno02.jpg", "dno03.jpg",
             "voda1.jpg", "voda2.jpg", "voda3.jpg", "puzir.jpg",
             "puzirA.jpg", PICTURE_NAME]
    font = ImageFont.load_default()
    cell_w, cell_h, pad = 180, 200, 10
    cols = 5
    rows = (len(names) + 1 + cols - 1) // cols
    sheet = Image.new("RGB", (cols * cell_w + pad, rows * cell_h + pad),
                      (32, 40, 48))
    draw = ImageDraw.Draw(sheet)
    items = [(n, Image.open(os.path.join(outdir, n)).convert("RGB"))
             for n in names]
    # the note as it appears on the bill mesh
    note = items[0][1].resize((170, 71), Image.LANCZOS)
    items.insert(1, ("dollar.jpg on the bill", note))
    for i, (label, im) in enumerate(items):
        x = pad + (i % cols) * cell_w
        y = pad + (i // cols) * cell_h
        if im.width > 170 or im.height > 170:
            im = im.resize((170, 170), Image.LANCZOS)
        ox = x + (170 - im.width) // 2
        oy = y + (170 - im.height) // 2
        sheet.paste(im, (ox, oy))
        draw.text((x, y + 175), label, fill=(230, 230, 230), font=font)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    sheet.save(path, "PNG", optimize=False, compress_level=9)


def make_all(outdir, sheet=None):
    os.makedirs(outdir, exist_ok=True)
    written = []

    def put(name, data):
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)
        written.append(name)

    for name, text in models.all_models().items():
        put(name, text.encode("ascii"))
    imgs = build_images()
    for name, img in imgs.items():
        put(name, jpeg_bytes(img))
    put(PICTURE_NAME, build_picture(imgs))
    sound.make(os.path.join(outdir, SOUND_NAME))
    written.append(SOUND_NAME)
    if sheet:
        contact_sheet(outdir, sheet)
    return written


def main(argv):
    args = list(argv)
    sheet = None
    if "--sheet" in args:
        i = args.index("--sheet")
        if i + 1 >= len(args):
            sys.exit("--sheet needs a file name")
        sheet = args[i + 1]
        del args[i:i + 2]
    if len(args) > 1:
        sys.exit(__doc__)
    if args:
        outdir = args[0]
    else:
        outdir = os.path.join(REPO, "resources")
        if sheet is None:
            sheet = os.path.join(REPO, "docs", "assets.png")
    names = make_all(outdir, sheet)
    print("%d files written to %s" % (len(names), outdir))


if __name__ == "__main__":
    main(sys.argv[1:])
