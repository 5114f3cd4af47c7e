#!/usr/bin/python3
"""Frame sets beside the shared corpus, as RGB PNGs (000.png, ...):
  cartoon  48 frames 640x480: flat colours with smooth edges, a ball bouncing
           over hills while clouds drift (mostly static, few colours)
  overlay  48 frames 640x480: a still photo with a photo patch gliding across it
           (static photo areas around a moving one)
Usage: make-own-sets.py PHOTO1 PHOTO2 [OUTDIR]  (default /tmp/gifbench-own)"""
import os
import sys

from PIL import Image, ImageDraw

W, H, FRAMES, SS = 640, 480, 48, 3  # SS: drawn larger, then scaled down for smooth edges


def cartoon(out):
    os.makedirs(out, exist_ok=True)
    for i in range(FRAMES):
        im = Image.new("RGB", (W * SS, H * SS), (120, 190, 240))
        d = ImageDraw.Draw(im)
        s = SS
        d.ellipse([480 * s, 40 * s, 580 * s, 140 * s], fill=(255, 214, 0))
        for cx in (80 + 3 * i, 330 + 2 * i):
            for dx, dy, r in ((0, 0, 30), (30, -10, 35), (65, 0, 28)):
                x, y = (cx + dx) % (W + 100) - 50, 90 + dy
                d.ellipse([(x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s], fill=(250, 250, 250))
        d.ellipse([-200 * s, 300 * s, 400 * s, 700 * s], fill=(76, 175, 80))
        d.ellipse([250 * s, 330 * s, 900 * s, 760 * s], fill=(56, 142, 60))
        d.rectangle([0, 420 * s, W * s, H * s], fill=(121, 85, 72))
        bx = 60 + 11 * i
        by = 390 - abs((i % 16) - 8) * 30
        d.ellipse([(bx - 25) * s, (by - 25) * s, (bx + 25) * s, (by + 25) * s], fill=(229, 57, 53),
                  outline=(40, 20, 20), width=3 * s)
        d.ellipse([(bx - 10) * s, (by - 14) * s, (bx - 2) * s, (by - 6) * s], fill=(255, 255, 255))
        im.resize((W, H), Image.LANCZOS).save(os.path.join(out, "%03d.png" % i))


def overlay(background, patch, out):
    os.makedirs(out, exist_ok=True)
    bg = Image.open(background).convert("RGB").resize((W, H), Image.LANCZOS)
    piece = Image.open(patch).convert("RGB").resize((200, 150), Image.LANCZOS)
    for i in range(FRAMES):
        im = bg.copy()
        im.paste(piece, (20 + 9 * i, 60 + 5 * i))
        im.save(os.path.join(out, "%03d.png" % i))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    root = sys.argv[3] if len(sys.argv) > 3 else "/tmp/gifbench-own"
    cartoon(os.path.join(root, "cartoon"))
    overlay(sys.argv[1], sys.argv[2], os.path.join(root, "overlay"))
