#!/usr/bin/env python3
"""Draws the Vantrel icon (a printer with a warning badge) and writes res/vantrel.ico.

Seven sizes; the small ones as 32-bit DIBs, 256 as PNG. Pure Python (zlib and struct only), so it
runs on any machine that builds the program. Shapes are described in unit coordinates and rendered
with 4 x 4 supersampling, so every size is drawn, not scaled.
"""
import os
import struct
import sys
import zlib

SIZES = [16, 20, 24, 32, 48, 64, 256]
ACCENT = (0, 103, 192)
ACCENT_DARK = (0, 62, 117)
PAPER = (255, 255, 255)
PAPER_EDGE = (120, 130, 140)
LINE = (160, 170, 180)
AMBER = (255, 185, 0)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def shapes(size):
    small = size <= 24
    layers = [
        (rounded_rect(0.26, 0.06, 0.74, 0.44, 0.02), PAPER_EDGE),
        (rounded_rect(0.29, 0.09, 0.71, 0.44, 0.01), PAPER),
        (rounded_rect(0.06, 0.34, 0.94, 0.78, 0.10), ACCENT_DARK),
        (rounded_rect(0.09, 0.37, 0.91, 0.75, 0.08), ACCENT),
        (rounded_rect(0.20, 0.60, 0.80, 0.67, 0.02), ACCENT_DARK),
        (rounded_rect(0.26, 0.64, 0.74, 0.94, 0.02), PAPER_EDGE),
        (rounded_rect(0.29, 0.64, 0.71, 0.91, 0.01), PAPER),
    ]
    if not small:
        for y in (0.72, 0.79, 0.86):
            layers.append((rounded_rect(0.34, y, 0.62, y + 0.025, 0.01), LINE))
        layers.append((circle(0.80, 0.46, 0.035), (120, 220, 120)))
    badge_r = 0.24 if small else 0.21
    cx, cy = 0.76, 0.76
    layers += [
        (circle(cx, cy, badge_r), PAPER),
        (circle(cx, cy, badge_r - (0.05 if small else 0.03)), AMBER),
        (rounded_rect(cx - 0.028, cy - 0.13, cx + 0.028, cy + 0.03, 0.02), PAPER),
        (circle(cx, cy + 0.09, 0.032), PAPER),
    ]
    return layers


def render(size):
    layers = shapes(size)
    n = 4
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    colour = None
                    for test, c in layers:
                        if test(x, y):
                            colour = c
                    if colour:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            a = acc[3] / (n * n)
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def png(size, pixels):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "vantrel.ico")
    images = []
    for size in SIZES:
        pixels = render(size)
        images.append((size, png(size, pixels) if size >= 256 else dib(size, pixels)))
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        dim = 0 if size >= 256 else size
        data += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    data += b"".join(blob for _, blob in images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
