#!/usr/bin/env python3
"""Draws the program icon and writes app.ico: one 64x64 image, 16 colours (4 bits per pixel).

The picture is a white "T" on a blue rounded square with a yellow slider knob below it, shapes
bold enough to stay legible when Windows shrinks the icon to 16x16. Standard library only.
Run from anywhere: python3 app/res/make-icon.py
"""
import os
import struct

SIZE = 64

# Palette index -> (R, G, B). Index 0 doubles as the colour under transparent pixels.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 transparent / black
    (0x12, 0x2A, 0x6B),  # 1 navy border
    (0x22, 0x5F, 0xD0),  # 2 blue face
    (0xFF, 0xFF, 0xFF),  # 3 white
    (0xFF, 0xC8, 0x1E),  # 4 yellow knob
    (0x9C, 0x6E, 0x00),  # 5 knob outline
    (0x8C, 0xB4, 0xF0),  # 6 light blue slider track
] + [(0x00, 0x00, 0x00)] * 9
TRANSPARENT = None


def inside_rounded(x, y, left, top, right, bottom, radius):
    """True when pixel (x, y) lies in the rounded rectangle [left, right] x [top, bottom]."""
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def pixel(x, y):
    """Palette index of the pixel at (x, y), y counted from the top; None is transparent."""
    if not inside_rounded(x, y, 1, 1, 62, 62, 12):
        return TRANSPARENT
    if not inside_rounded(x, y, 4, 4, 59, 59, 9):
        return 1
    # The "T": a wide bar and a thick stem.
    if 11 <= y <= 21 and 11 <= x <= 52:
        return 3
    if 21 <= y <= 43 and 26 <= x <= 37:
        return 3
    # Slider: a track across the bottom and a knob on it.
    if inside_rounded(x, y, 36, 45, 51, 57, 3):
        return 4 if inside_rounded(x, y, 38, 47, 49, 55, 2) else 5
    if 49 <= y <= 53 and 11 <= x <= 52:
        return 6
    return 2


def build_ico():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        for x in range(0, SIZE, 2):
            hi, lo = (row[x] or 0), (row[x + 1] or 0)
            xor.append(hi << 4 | lo)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] is TRANSPARENT else 0)
        mask += bits.to_bytes(SIZE // 8, "big")  # 8 bytes: already a multiple of 4
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0,
                         16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return icondir + entry + image


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "app.ico")
    with open(path, "wb") as f:
        f.write(build_ico())
    print(f"wrote {path}")


if __name__ == "__main__":
    main()
