#!/usr/bin/env python3
"""Writes the program icon: one 32 x 32 image of 16 colours, a comet over a few stars.

Deterministic: the picture comes from geometry alone, so running it again gives the same bytes.
Usage: make_icon.py [output.ico]   (default: resources/comet.ico beside this tools folder)
"""
import math
import os
import struct
import sys

SIZE = 32
TRANSPARENT = 0

# (red, green, blue); index 0 is the transparent background and must stay black.
PALETTE = [
    (0, 0, 0),
    (255, 255, 255),  # head core
    (255, 250, 200),  # head glow
    (255, 220, 90),   # head rim
    (255, 170, 40),   # tail, brightest
    (240, 110, 30),
    (210, 50, 25),
    (150, 20, 20),    # tail, faintest
    (170, 200, 255),  # stars
    (96, 96, 96),
    (128, 128, 128),
    (160, 160, 160),
    (192, 192, 192),
    (64, 64, 64),
    (32, 32, 32),
    (224, 224, 224),
]

HEAD = (24.0, 8.0)
TAIL_END = (4.0, 28.0)
STARS = [(4, 4), (12, 2), (29, 19), (19, 28), (2, 13), (27, 29)]


def head_index(x, y):
    r = math.hypot(x - HEAD[0], y - HEAD[1])
    if r < 2.0:
        return 1
    if r < 3.2:
        return 2
    if r < 4.2:
        return 3
    return None


def tail_index(x, y):
    ax, ay = TAIL_END[0] - HEAD[0], TAIL_END[1] - HEAD[1]
    length = math.hypot(ax, ay)
    ux, uy = ax / length, ay / length
    px, py = x - HEAD[0], y - HEAD[1]
    t = (px * ux + py * uy) / length
    if t <= 0.0 or t >= 1.0:
        return None
    distance = abs(px * uy - py * ux)
    width = 1.8 + 4.0 * t
    strength = (1.0 - t) ** 1.3 * max(0.0, 1.0 - distance / width)
    for limit, index in ((0.5, 4), (0.3, 5), (0.15, 6), (0.05, 7)):
        if strength > limit:
            return index
    return None


def pixel(x, y):
    cx, cy = x + 0.5, y + 0.5
    index = head_index(cx, cy)
    if index is None:
        index = tail_index(cx, cy)
    if index is None and (x, y) in STARS:
        index = 8
    return TRANSPARENT if index is None else index


def icon_bytes():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    xor_mask = bytearray()
    and_mask = bytearray()
    for row in reversed(rows):  # bottom-up, as a bitmap stores them
        for x in range(0, SIZE, 2):
            xor_mask.append(row[x] << 4 | row[x + 1])
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] == TRANSPARENT else 0)
        and_mask += bits.to_bytes(SIZE // 8, "big")
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    # Height counts both masks; image size is the two masks together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor_mask) + len(and_mask), 0, 0, 0, 0)
    image = header + palette + bytes(xor_mask) + bytes(and_mask)
    assert len(image) == 744
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "comet.ico")
    with open(output, "wb") as f:
        f.write(icon_bytes())


if __name__ == "__main__":
    main()
