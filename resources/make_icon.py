#!/usr/bin/env python3
"""Draws the program icon: one 64 x 64 image at 8 bits per pixel, written as fudemaru.ico.

A writing brush lies across a light-yellow sheet and leaves a red stroke. Run it again after
changing the drawing; the build uses the .ico that sits next to this script.
"""
import math
import struct
import sys
from pathlib import Path

SIZE = 64

# Palette index -> (r, g, b). Index 0 is also the transparent area (masked out).
PALETTE = [
    (0, 0, 0),        # 0 transparent / outline
    (255, 255, 160),  # 1 sheet, the document surround's light yellow
    (120, 72, 32),    # 2 handle
    (168, 112, 56),   # 3 handle highlight
    (200, 200, 200),  # 4 ferrule
    (20, 20, 20),     # 5 bristles
    (210, 0, 0),      # 6 stroke
    (51, 0, 0),       # 7 sheet edge, the palette's dark red
]


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy), t


def colour_at(x, y):
    """Returns the palette index of the pixel at (x, y), top-down, or None if transparent."""
    cx, cy = x + 0.5, y + 0.5
    # The brush: from the handle's end (upper right) to the bristles' tip (lower left).
    d, t = distance_to_segment(cx, cy, 58, 6, 16, 48)
    if t < 0.62 and d < 4.0:
        return 3 if d < 1.5 and t < 0.55 else 2
    if 0.62 <= t < 0.72 and d < 4.5:
        return 4
    if t >= 0.72 and d < 4.5 * (1.0 - (t - 0.72) / 0.30) + 0.6:
        return 5
    # The stroke the brush has left: a red arc across the lower part of the sheet.
    r = math.hypot(cx - 30, cy - 18)
    if 32 <= r <= 37 and cy > 36 and 6 <= cx < 52:
        return 6
    # The sheet.
    if 4 <= x <= 59 and 10 <= y <= 59:
        if x in (4, 59) or y in (10, 59):
            return 7
        return 1
    return None


def build_icon():
    rows = [[colour_at(x, y) for x in range(SIZE)] for y in range(SIZE)]
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    palette += b"\0" * (256 * 4 - len(palette))
    xor_rows, and_rows = [], []
    for row in reversed(rows):  # bottom-up
        xor_rows.append(bytes(0 if c is None else c for c in row))
        bits = 0
        mask = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        mask += b"\0" * ((4 - len(mask) % 4) % 4)
        and_rows.append(bytes(mask))
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("fudemaru.ico")
    out.write_bytes(build_icon())


if __name__ == "__main__":
    main()
