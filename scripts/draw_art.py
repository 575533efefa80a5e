#!/usr/bin/env python3
"""Draws the viewer's icons and bitmaps and writes them under viewer/res/,
and the installer's icon under installer/res/.

Every picture is drawn from a few shapes on a 16-unit grid, so the 16, 24
and 32 pixel forms come from the same drawing. Shapes are sampled 4 by 4
per pixel; icons keep the coverage as alpha, masked bitmaps get solid
pixels on the mask colour RGB(192,192,192).

Usage: scripts/draw_art.py [output directory]   (default: viewer/res and
installer/res)
"""

import colorsys
import math
import os
import struct
import sys

# One palette for everything.
OUTLINE = (36, 44, 60)
PAPER = (252, 252, 248)
SHADE = (206, 212, 224)
TEXT = (70, 80, 100)
BLUE = (40, 96, 200)
LIGHT_BLUE = (120, 170, 238)
SKY = (160, 208, 250)
BROWN = (186, 126, 66)
DARK_BROWN = (122, 80, 38)
METAL = (170, 174, 186)
RED = (214, 52, 44)
GREEN = (58, 164, 72)
YELLOW = (246, 198, 44)
DARK_YELLOW = (196, 146, 22)
PURPLE = (128, 76, 176)
BEIGE = (232, 204, 150)

MASK = (192, 192, 192)
SAMPLES = 4


class Canvas:
    """A square RGBA image drawn on a 16-unit grid."""

    def __init__(self, size):
        self.size = size
        self.scale = size / 16.0
        # Premultiplied colour and alpha per pixel, 0..1.
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, inside, colour, box):
        """Covers the pixels where inside(x, y) holds (unit coordinates)."""
        x0, y0, x1, y1 = box
        s = self.scale
        first_x = max(0, int(x0 * s) - 1)
        last_x = min(self.size, int(x1 * s) + 2)
        first_y = max(0, int(y0 * s) - 1)
        last_y = min(self.size, int(y1 * s) + 2)
        r, g, b = (c / 255.0 for c in colour)
        offsets = [(i + 0.5) / SAMPLES for i in range(SAMPLES)]
        for py in range(first_y, last_y):
            for px in range(first_x, last_x):
                hits = 0
                for oy in offsets:
                    y = (py + oy) / s
                    for ox in offsets:
                        if inside((px + ox) / s, y):
                            hits += 1
                if hits == 0:
                    continue
                a = hits / float(SAMPLES * SAMPLES)
                p = self.pixels[py * self.size + px]
                p[0] = r * a + p[0] * (1 - a)
                p[1] = g * a + p[1] * (1 - a)
                p[2] = b * a + p[2] * (1 - a)
                p[3] = a + p[3] * (1 - a)

    # --- shapes -----------------------------------------------------------

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def boxed(self, x0, y0, x1, y1, colour, outline=OUTLINE):
        """A rectangle with a one-unit outline."""
        self.rect(x0, y0, x1, y1, outline)
        self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, colour,
                  (cx - rx, cy - ry, cx + rx, cy + ry))

    def ring(self, cx, cy, r, colour, outline=OUTLINE):
        self.ellipse(cx, cy, r, r, outline)
        self.ellipse(cx, cy, r - 1, r - 1, colour)

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        self.fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9
        half = width / 2.0

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            ex, ey = x0 + t * dx - x, y0 + t * dy - y
            return ex * ex + ey * ey <= half * half

        self.fill(inside, colour, (min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half, max(y0, y1) + half))

    def arc(self, cx, cy, r, colour, width=1.0):
        """The right-hand part of a circle, as sound waves leave a speaker."""
        def inside(x, y):
            dx, dy = x - cx, y - cy
            d2 = dx * dx + dy * dy
            return (r - width / 2) ** 2 <= d2 <= (r + width / 2) ** 2 and dx > abs(dy) * 0.9
        self.fill(inside, colour, (cx, cy - r - 1, cx + r + 1, cy + r + 1))

    def glyph(self, char, x, y, colour):
        """A character of the 3 by 5 unit font."""
        for row, bits in enumerate(FONT[char]):
            for column in range(3):
                if bits & (4 >> column):
                    self.rect(x + column, y + row, x + column + 1, y + row + 1, colour)

    # --- output -------------------------------------------------------------

    def rgba(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top first."""
        rows = []
        for py in range(self.size):
            row = []
            for px in range(self.size):
                r, g, b, a = self.pixels[py * self.size + px]
                if a <= 0.0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((round(r / a * 255), round(g / a * 255), round(b / a * 255), round(a * 255)))
            rows.append(row)
        return rows


FONT = {
    "0": (7, 5, 5, 5, 7), "1": (2, 6, 2, 2, 7), "2": (7, 1, 7, 4, 7), "3": (7, 1, 3, 1, 7),
    "4": (5, 5, 7, 1, 1), "5": (7, 4, 7, 1, 7), "6": (7, 4, 7, 5, 7), "7": (7, 1, 2, 2, 2),
    "8": (7, 5, 7, 5, 7), "9": (7, 5, 7, 1, 7), "A": (2, 5, 7, 5, 5), "B": (6, 5, 6, 5, 6),
    "C": (3, 4, 4, 4, 3), "D": (6, 5, 5, 5, 6), "E": (7, 4, 6, 4, 7), "F": (7, 4, 6, 4, 4),
}


# --- Common parts -------------------------------------------------------------

def page(c, x0, y0, x1, y1, fold=4, paper=PAPER, outline=OUTLINE):
    """A sheet with a folded top right corner."""
    c.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], outline)
    c.polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1),
               (x0 + 1, y1 - 1)], paper)
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], outline)
    c.polygon([(x1 - fold + 1, y0 + 2.4), (x1 - fold + 1, y0 + fold - 1), (x1 - 2.4, y0 + fold - 1)], SHADE)


def text_lines(c, x0, x1, ys, colour=TEXT):
    for i, y in enumerate(ys):
        end = x1 if i % 3 != 2 else x0 + (x1 - x0) * 0.6
        c.rect(x0, y, end, y + 1, colour)


def clipboard(c, x0=2, y0=1, x1=14, y1=16):
    c.boxed(x0, y0 + 1, x1, y1, BROWN, DARK_BROWN)
    c.rect(x0 + 2, y0 + 3, x1 - 2, y1 - 2, PAPER)
    mid = (x0 + x1) / 2.0
    c.boxed(mid - 3, y0, mid + 3, y0 + 4, METAL)


def program_icon(c):
    clipboard(c)
    text_lines(c, 5, 11, [7, 9, 11, 13], BLUE)


def picture(c, x0=1, y0=2, x1=15, y1=14):
    c.boxed(x0, y0, x1, y1, SKY)
    w, h = x1 - x0, y1 - y0
    c.ellipse(x0 + w * 0.72, y0 + h * 0.32, 1.6, 1.6, YELLOW)
    c.polygon([(x0 + 1, y1 - 1), (x0 + 1, y1 - h * 0.35), (x0 + w * 0.35, y0 + h * 0.38),
               (x0 + w * 0.62, y1 - h * 0.3), (x0 + w * 0.75, y1 - h * 0.45), (x1 - 1, y1 - h * 0.2),
               (x1 - 1, y1 - 1)], GREEN)


def info(c):
    c.ring(8, 8, 7, BLUE)
    c.rect(7, 3, 9, 5, PAPER)
    c.rect(7, 6, 9, 13, PAPER)


def book(c):
    c.polygon([(3, 1), (14, 1), (14, 13), (3, 13)], OUTLINE)
    c.rect(4, 2, 13, 12, PURPLE)
    c.boxed(3, 12, 14, 16, PAPER)
    c.rect(2, 1, 4, 16, OUTLINE)
    c.rect(6, 4, 11, 6, BEIGE)


def hex_page(c):
    page(c, 1, 0, 15, 16)
    c.glyph("0", 3, 3, BLUE)
    c.glyph("F", 7, 3, BLUE)
    c.glyph("A", 3, 9, TEXT)
    c.glyph("3", 7, 9, TEXT)


def text_page(c):
    page(c, 2, 0, 14, 16)
    text_lines(c, 4, 12, [4, 6, 8, 10, 12])


# --- Toolbar images, in the order of the toolbar's buttons ----------------------

def draw_open(c):
    c.polygon([(1, 3), (6, 3), (7, 5), (13, 5), (13, 14), (1, 14)], OUTLINE)
    c.polygon([(2, 4), (5.6, 4), (6.6, 6), (12, 6), (12, 13), (2, 13)], DARK_YELLOW)
    c.polygon([(1, 14), (4, 8), (16, 8), (13, 14)], OUTLINE)
    c.polygon([(2.6, 13), (4.7, 9), (14.4, 9), (12.4, 13)], YELLOW)


def draw_save(c):
    c.boxed(1, 1, 15, 15, BLUE)
    c.boxed(4, 1, 12, 7, PAPER)
    c.rect(9, 2, 11, 6, METAL)
    c.boxed(3, 9, 13, 15, METAL)
    c.rect(5, 11, 7, 14, OUTLINE)


def draw_cut(c):
    c.line(4.5, 1.5, 10.5, 10, 1.6, OUTLINE)
    c.line(11.5, 1.5, 5.5, 10, 1.6, OUTLINE)
    c.line(4.5, 1.5, 10.5, 10, 0.6, METAL)
    c.line(11.5, 1.5, 5.5, 10, 0.6, METAL)
    c.ring(4.5, 12, 3.5, PAPER, RED)
    c.ring(11.5, 12, 3.5, PAPER, RED)


def draw_copy(c):
    page(c, 1, 1, 10, 12, fold=3)
    text_lines(c, 3, 8, [5, 7, 9])
    page(c, 6, 4, 15, 16, fold=3)
    text_lines(c, 8, 13, [8, 10, 12, 14])


def draw_paste(c):
    clipboard(c, 1, 0, 12, 15)
    page(c, 6, 5, 15, 16, fold=3)
    text_lines(c, 8, 13, [9, 11, 13])


def draw_delete(c):
    c.line(3, 3, 13, 13, 3.2, OUTLINE)
    c.line(13, 3, 3, 13, 3.2, OUTLINE)
    c.line(3, 3, 13, 13, 1.6, RED)
    c.line(13, 3, 3, 13, 1.6, RED)


def star(c, cx, cy, r, colour):
    points = []
    for i in range(10):
        radius = r if i % 2 == 0 else r * 0.45
        angle = -math.pi / 2 + i * math.pi / 5
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    c.polygon(points, colour)


def draw_auto(c):
    c.line(2, 14, 9.5, 6.5, 3, OUTLINE)
    c.line(2.6, 13.4, 9, 7, 1.2, BROWN)
    star(c, 11, 5, 5, OUTLINE)
    star(c, 11, 5, 3.4, YELLOW)


def draw_text(c):
    text_page(c)


def draw_binary(c):
    hex_page(c)


def draw_picture(c):
    picture(c)


def draw_info(c):
    info(c)


TOOLBAR = [draw_open, draw_save, draw_cut, draw_copy, draw_paste, draw_delete,
           draw_auto, draw_text, draw_binary, draw_picture, draw_info]


# --- Format images, in the order of the format image list -----------------------

def draw_page(c):
    page(c, 2, 0, 14, 16)


def draw_selected_page(c):
    page(c, 2, 0, 14, 16, paper=LIGHT_BLUE, outline=BLUE)
    text_lines(c, 4, 12, [5, 7, 9, 11], PAPER)


def draw_other_format(c):
    c.polygon([(8, 1), (15, 4.5), (8, 8), (1, 4.5)], OUTLINE)
    c.polygon([(1, 4.5), (8, 8), (8, 15.5), (1, 12)], OUTLINE)
    c.polygon([(8, 8), (15, 4.5), (15, 12), (8, 15.5)], OUTLINE)
    c.polygon([(8, 2.2), (13, 4.6), (8, 7), (3, 4.6)], BEIGE)
    c.polygon([(2, 6), (7.3, 8.6), (7.3, 14), (2, 11.4)], BROWN)
    c.polygon([(8.7, 8.6), (14, 6), (14, 11.4), (8.7, 14)], DARK_BROWN)


def draw_dib(c):
    c.boxed(1, 1, 15, 15, PAPER)
    colours = [RED, YELLOW, GREEN, BLUE, PURPLE, SKY]
    for row in range(3):
        for column in range(3):
            c.rect(3 + column * 4, 3 + row * 4, 5 + column * 4, 5 + row * 4, colours[(row * 2 + column) % 6])


def draw_file_list(c):
    c.polygon([(1, 3), (6, 3), (7, 5), (15, 5), (15, 15), (1, 15)], OUTLINE)
    c.polygon([(2, 4), (5.6, 4), (6.6, 6), (14, 6), (14, 14), (2, 14)], YELLOW)
    page(c, 5, 1, 12, 11, fold=2)
    c.rect(1, 8, 15, 15, OUTLINE)
    c.rect(2, 9, 14, 14, YELLOW)


def draw_metafile(c):
    page(c, 1, 0, 15, 16)
    c.ring(6, 7, 3, RED)
    c.polygon([(7, 14), (10.5, 7.5), (14, 14)], OUTLINE)
    c.polygon([(8.6, 13), (10.5, 9.6), (12.4, 13)], BLUE)


def draw_sound(c):
    c.polygon([(1, 5), (5, 5), (9, 1), (9, 15), (5, 11), (1, 11)], OUTLINE)
    c.polygon([(2, 6), (5.4, 6), (8, 3.4), (8, 12.6), (5.4, 10), (2, 10)], METAL)
    c.arc(8, 8, 3.5, BLUE)
    c.arc(8, 8, 6, BLUE)


def draw_palette(c):
    c.ellipse(8, 8.5, 7.5, 6.5, OUTLINE)
    c.ellipse(8, 8.5, 6.5, 5.5, BEIGE)
    for (x, y, colour) in [(4.5, 7, RED), (7.5, 5, YELLOW), (11, 5.5, GREEN), (12.5, 8.5, BLUE), (5, 10.5, PURPLE)]:
        c.ellipse(x, y, 1.3, 1.3, colour)


def draw_locale(c):
    c.ring(8, 8, 7.5, LIGHT_BLUE, BLUE)
    c.polygon([(3, 4.5), (6, 2.5), (8.5, 4), (7.5, 7.5), (4.5, 9), (2, 7)], GREEN)
    c.polygon([(9, 9.5), (12, 8), (14, 10), (11.5, 13.5), (9.5, 12.5)], GREEN)
    c.polygon([(10, 3), (12.5, 3.5), (12, 5.5)], GREEN)


FORMATS = [book, draw_page, draw_selected_page, draw_other_format, picture, draw_dib, draw_file_list,
           draw_metafile, text_page, draw_sound, draw_palette, draw_locale]


# --- Variants -------------------------------------------------------------------

def recolour(rgba, change):
    """Applies change(r, g, b) -> (r, g, b) to every pixel, keeping alpha."""
    return [[change(r, g, b) + (a,) for (r, g, b, a) in row] for row in rgba]


def livelier(r, g, b):
    """Hot buttons: more saturated and a little brighter."""
    h, s, v = colorsys.rgb_to_hsv(r / 255.0, g / 255.0, b / 255.0)
    r2, g2, b2 = colorsys.hsv_to_rgb(h, min(1.0, s * 1.35), min(1.0, v * 1.12 + 0.05))
    return (round(r2 * 255), round(g2 * 255), round(b2 * 255))


def greyed(r, g, b):
    """Disabled buttons: light greys from the brightness, so the shape stays readable."""
    grey = round(112 + (0.30 * r + 0.59 * g + 0.11 * b) * 0.42)
    return (grey, grey, grey)


def on_mask(rgba):
    """Solid pixels on the mask colour; a pixel never equals the mask by chance."""
    rows = []
    for row in rgba:
        out = []
        for (r, g, b, a) in row:
            if a < 90:
                out.append(MASK)
                continue
            k = a / 255.0
            pixel = tuple(round(v * k + m * (1 - k)) for v, m in zip((r, g, b), MASK))
            if pixel == MASK:
                pixel = (193, 193, 193)
            out.append(pixel)
        rows.append(out)
    return rows


def render(draw, size):
    canvas = Canvas(size)
    draw(canvas)
    return canvas.rgba()


def strip(images):
    """Puts square images side by side."""
    return [sum((image[y] for image in images), []) for y in range(len(images[0]))]


# --- Files ----------------------------------------------------------------------

def bmp_bytes(rows):
    """A 24-bit uncompressed BMP of RGB rows (top first)."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return file_header + header + data


def ico_image(rgba):
    """One 32-bit icon image: header, colour rows with alpha, AND mask."""
    size = len(rgba)
    colour = bytearray()
    for row in reversed(rgba):
        for (r, g, b, a) in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rgba):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico_bytes(images):
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * len(images)
    for rgba in images:
        blob = ico_image(rgba)
        size = len(rgba)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset + len(blobs))
        blobs += blob
    return struct.pack("<HHH", 0, 1, len(images)) + entries + blobs


ICONS = {
    "icon101.ico": program_icon,
    "icon107.ico": hex_page,
    "icon108.ico": text_page,
    "icon110.ico": picture,
    "icon117.ico": info,
    "icon123.ico": book,
}


# --- The installer -----------------------------------------------------------

def install_icon(c):
    """A carton with the program's clipboard going into it."""
    c.polygon([(1, 9), (4, 6), (12, 6), (15, 9)], DARK_BROWN)
    c.boxed(1, 9, 15, 16, BROWN, DARK_BROWN)
    c.rect(6, 11, 10, 12, BEIGE)
    c.boxed(5, 0, 11, 8, PAPER)
    c.rect(6.5, 2, 9.5, 3, BLUE)
    c.rect(6.5, 4, 9.5, 5, BLUE)
    c.polygon([(8, 12.5), (4.5, 8.5), (6.5, 8.5), (6.5, 6), (9.5, 6), (9.5, 8.5), (11.5, 8.5)], OUTLINE)
    c.polygon([(8, 11.2), (5.9, 9.3), (7.3, 9.3), (7.3, 6.8), (8.7, 6.8), (8.7, 9.3), (10.1, 9.3)], GREEN)


INSTALLER_ICONS = {
    "install.ico": install_icon,
}


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "viewer", "res")
    installer_target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "installer", "res")
    os.makedirs(target, exist_ok=True)
    os.makedirs(installer_target, exist_ok=True)

    def write(name, data, folder=target):
        with open(os.path.join(folder, name), "wb") as file:
            file.write(data)

    for name, draw in INSTALLER_ICONS.items():
        write(name, ico_bytes([render(draw, 16), render(draw, 32)]), installer_target)

    for name, draw in ICONS.items():
        write(name, ico_bytes([render(draw, 16), render(draw, 32)]))

    for size, (normal, hot_name, disabled_name) in ((16, ("bitmap112.bmp", "bitmap113.bmp", "bitmap111.bmp")),
                                                    (24, ("bitmap128.bmp", "bitmap127.bmp", "bitmap129.bmp"))):
        images = [render(draw, size) for draw in TOOLBAR]
        write(normal, bmp_bytes(on_mask(strip(images))))
        write(hot_name, bmp_bytes(on_mask(strip([recolour(image, livelier) for image in images]))))
        write(disabled_name, bmp_bytes(on_mask(strip([recolour(image, greyed) for image in images]))))

    write("bitmap126.bmp", bmp_bytes(on_mask(strip([render(draw, 16) for draw in FORMATS]))))


if __name__ == "__main__":
    main()
