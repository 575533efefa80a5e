#!/usr/bin/env python3
"""Draws the setup wizard's bitmaps and writes them under installer/res/.

bitmap123.bmp  the side picture of every wizard page, 117 by 266 pixels,
               8 bits per pixel: the viewer's program icon over a blue fade,
               an arrow and the drive it installs to.
bitmap128.bmp  the mark of a chosen component, 9 by 9, 4 bits per pixel;
bitmap130.bmp  the mark of a required component (grey);
bitmap132.bmp  the mark of a partly chosen component (on a grey ground).

The shapes come from draw_art.py, so the wizard shares the viewer's palette
and drawing.

Usage: scripts/draw_wizard_art.py [output directory]   (default: installer/res)
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw_art import GREEN, METAL, OUTLINE, SHADE, YELLOW, program_icon, render  # noqa: E402

SIDE_WIDTH, SIDE_HEIGHT = 117, 266
FADE_TOP = (40, 96, 200)
FADE_BOTTOM = (14, 34, 92)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)


def draw_arrow(c):
    c.polygon([(5, 1), (11, 1), (11, 8), (15, 8), (8, 15), (1, 8), (5, 8)], OUTLINE)
    c.polygon([(6, 2), (10, 2), (10, 9), (12.6, 9), (8, 13.6), (3.4, 9), (6, 9)], YELLOW)


def draw_drive(c):
    c.boxed(1, 4, 15, 12, METAL)
    c.rect(2, 9, 14, 11, SHADE)
    c.rect(3, 6, 10, 7, OUTLINE)
    c.ellipse(12, 10, 0.9, 0.9, GREEN)


def fade(y):
    t = y / float(SIDE_HEIGHT - 1)
    return tuple(round(a + (b - a) * t) for a, b in zip(FADE_TOP, FADE_BOTTOM))


def side_picture():
    rows = [[fade(y)] * SIDE_WIDTH for y in range(SIDE_HEIGHT)]
    for draw, size, top in ((program_icon, 80, 36), (draw_arrow, 40, 136), (draw_drive, 80, 168)):
        left = (SIDE_WIDTH - size) // 2
        for y, row in enumerate(render(draw, size)):
            line = list(rows[top + y])
            for x, (r, g, b, a) in enumerate(row):
                k = a / 255.0
                line[left + x] = tuple(round(v * k + u * (1 - k)) for v, u in zip((r, g, b), line[left + x]))
            rows[top + y] = line
    return rows


def median_cut(colours, count):
    """At most `count` representative colours of the list (with repeats)."""
    boxes = [colours]
    while len(boxes) < count:
        spans = []
        for box in boxes:
            unique = set(box)
            if len(unique) < 2:
                spans.append((-1, 0))
                continue
            channel = max(range(3), key=lambda i: max(c[i] for c in unique) - min(c[i] for c in unique))
            spans.append((max(c[channel] for c in unique) - min(c[channel] for c in unique), channel))
        widest = max(range(len(boxes)), key=lambda i: spans[i][0])
        span, channel = spans[widest]
        if span <= 0:
            break
        box = sorted(boxes.pop(widest), key=lambda c: c[channel])
        middle = len(box) // 2
        boxes += [box[:middle], box[middle:]]
    return [tuple(round(sum(c[i] for c in box) / len(box)) for i in range(3)) for box in boxes]


def indexed(rows, palette):
    nearest = {}

    def index(colour):
        if colour not in nearest:
            nearest[colour] = min(range(len(palette)),
                                  key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))
        return nearest[colour]

    return [[index(colour) for colour in row] for row in rows]


def indexed_bmp(rows, palette, bits):
    """An uncompressed BMP of palette indices (top row first), 4 or 8 bits per pixel."""
    height, width = len(rows), len(rows[0])
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, value in enumerate(row):
            if bits == 8:
                line[x] = value
            else:
                line[x // 2] |= value << (4 if x % 2 == 0 else 0)
        data += line
    colours = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    offset = 14 + len(header) + len(colours)
    return struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + header + colours + data


# The check mark, drawn in the 9 by 9 square inside a list item's check box.
CHECK = [
    ".........",
    ".......#.",
    "......##.",
    ".#...###.",
    ".##.###..",
    ".#####...",
    "..###....",
    "...#.....",
    ".........",
]


def mark(ground, ink):
    palette = [ground, ink] + [WHITE] * 14
    return indexed_bmp([[1 if c == "#" else 0 for c in line] for line in CHECK], palette, 4)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "installer", "res")
    os.makedirs(target, exist_ok=True)

    def write(name, data):
        with open(os.path.join(target, name), "wb") as file:
            file.write(data)

    rows = side_picture()
    palette = median_cut([colour for row in rows for colour in row], 256)
    write("bitmap123.bmp", indexed_bmp(indexed(rows, palette), palette, 8))
    write("bitmap128.bmp", mark(WHITE, OUTLINE))
    write("bitmap130.bmp", mark(WHITE, GREY))
    write("bitmap132.bmp", mark(SHADE, OUTLINE))


if __name__ == "__main__":
    main()
