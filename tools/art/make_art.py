#!/usr/bin/env python3
"""Draws the module's pictures: the three 16-colour icons and the two flag glyphs.

The pictures are made of simple shapes in a unit square, sampled at pixel centres (4 x 4 samples a
pixel), so one drawing serves every icon size. The output is committed, so a build never needs
Python; run this again only to change a picture:

    tools/art/make_art.py [--preview DIR]

--preview also writes each picture as an enlarged PNG into DIR, to look at.
"""
import argparse
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "..", "src", "ui", "win32", "art"))

# The 16-colour palette every Windows version knows.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, \
    WHITE = range(16)


# --- shapes: predicates over unit coordinates -------------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def segment(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def outline(points, width):
    edges = [segment(*points[i], *points[(i + 1) % len(points)], width) for i in range(len(points))]
    return lambda x, y: any(e(x, y) for e in edges)


def difference(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


# --- rendering ----------------------------------------------------------------------------------

class Canvas:
    """Rows of palette indices (or RGB triples for the flags); None is transparent."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[None] * width for _ in range(height)]

    def fill(self, shape, colour, coverage=0.5):
        """Paints every pixel whose share of samples inside the shape reaches `coverage`."""
        n = 4
        need = max(1, math.ceil(coverage * n * n))
        for py in range(self.height):
            for px in range(self.width):
                hits = 0
                for j in range(n):
                    for i in range(n):
                        if shape((px + (i + 0.5) / n) / self.width, (py + (j + 0.5) / n) / self.height):
                            hits += 1
                if hits >= need:
                    self.pixels[py][px] = colour

    def put(self, x, y, colour):
        self.pixels[y][x] = colour


def main_icon(size):
    c = Canvas(size, size)
    line = 1.0 / size
    tile = (0.04, 0.04, 0.96, 0.96, 0.18)
    c.fill(rounded_rect(*tile), BLACK)
    c.fill(rounded_rect(0.04 + line, 0.04 + line, 0.96 - line, 0.96 - line, 0.18 - line), NAVY)
    c.fill(rounded_rect(0.04 + line, 0.04 + line, 0.96 - line, 0.5, 0.18 - line), BLUE)
    # The letter Q: a white ring with a yellow tail.
    ring = difference(circle(0.46, 0.46, 0.29), circle(0.46, 0.46, 0.15))
    c.fill(difference(circle(0.46, 0.46, 0.29 + line), circle(0.46, 0.46, 0.15 - line)), BLACK)
    c.fill(ring, WHITE)
    c.fill(segment(0.56, 0.58, 0.82, 0.84, 0.15 + 2 * line), BLACK)
    c.fill(segment(0.56, 0.58, 0.82, 0.84, 0.15), YELLOW)
    return c


def cube(c, cx, cy, s, top, left, right, line):
    w = s * math.sqrt(3) / 2
    top_face = [(cx, cy - s), (cx + w, cy - s / 2), (cx, cy), (cx - w, cy - s / 2)]
    left_face = [(cx - w, cy - s / 2), (cx, cy), (cx, cy + s), (cx - w, cy + s / 2)]
    right_face = [(cx, cy), (cx + w, cy - s / 2), (cx + w, cy + s / 2), (cx, cy + s)]
    c.fill(polygon(top_face), top)
    c.fill(polygon(left_face), left)
    c.fill(polygon(right_face), right)
    hexagon = [(cx, cy - s), (cx + w, cy - s / 2), (cx + w, cy + s / 2), (cx, cy + s), (cx - w, cy + s / 2),
               (cx - w, cy - s / 2)]
    c.fill(outline(hexagon, line), BLACK, coverage=0.3)
    c.fill(segment(cx - w, cy - s / 2, cx, cy, line), BLACK, coverage=0.3)
    c.fill(segment(cx, cy, cx + w, cy - s / 2, line), BLACK, coverage=0.3)
    c.fill(segment(cx, cy, cx, cy + s, line), BLACK, coverage=0.3)


def registry_icon(size):
    """Registry tweaks: a stack of three blocks."""
    c = Canvas(size, size)
    line = 1.2 / size
    cube(c, 0.5, 0.30, 0.21, AQUA, BLUE, NAVY, line)
    cube(c, 0.29, 0.67, 0.21, LIME, GREEN, TEAL, line)
    cube(c, 0.71, 0.67, 0.21, YELLOW, RED, MAROON, line)
    return c


def file_icon(size):
    """INI and CFG tweaks: a text page with a section and two name=value lines."""
    c = Canvas(size, size)
    line = 1.0 / size
    g = lambda n: (n + 0.5) / 32   # a pixel centre of the 32-pixel grid, so lines are one pixel wide
    page = [(g(5), g(1)), (g(20), g(1)), (g(27), g(8)), (g(27), g(30)), (g(5), g(30))]
    c.fill(polygon(page), WHITE)
    c.fill(outline(page, line), BLACK)
    fold = [(g(20), g(1)), (g(20), g(8)), (g(27), g(8))]
    c.fill(polygon(fold), SILVER)
    c.fill(outline(fold, line), BLACK)
    # The text is laid out on the 32-pixel grid: a [section] line and three name=value lines.
    k = size / 32
    def bar(x0, y0, x1, y1, colour):
        c.fill(rect(x0 * k / size, y0 * k / size, (x1 + 1) * k / size, (y1 + 1) * k / size), colour)
    bar(8, 10, 8, 14, RED)
    bar(9, 10, 9, 10, RED)
    bar(9, 14, 9, 14, RED)
    bar(11, 11, 18, 13, MAROON)
    bar(21, 10, 21, 14, RED)
    bar(20, 10, 20, 10, RED)
    bar(20, 14, 20, 14, RED)
    for row in (17, 22, 27):
        bar(8, row, 13, row + 2, NAVY)
        bar(15, row, 17, row, BLACK)
        bar(15, row + 2, 17, row + 2, BLACK)
        bar(19, row, 24, row + 2, TEAL)
    return c


FLAG_W, FLAG_H = 24, 15   # a 1-pixel grey frame round a 22 x 13 flag
FRAME = (128, 128, 128)


def flag(draw):
    c = Canvas(FLAG_W, FLAG_H)
    for y in range(FLAG_H):
        for x in range(FLAG_W):
            inner = 0 < x < FLAG_W - 1 and 0 < y < FLAG_H - 1
            c.put(x, y, draw(x - 1, y - 1) if inner else FRAME)
    return c


def russian_flag(x, y):
    if y < 4:
        return (255, 255, 255)
    if y < 9:
        return (0, 57, 166)
    return (213, 43, 30)


def us_flag(x, y):
    if x < 9 and y < 7:   # the canton with rows of stars
        if (y % 2 == 1 and x % 2 == 1 and x < 8) or (y in (2, 4) and x % 2 == 0 and 0 < x < 8):
            return (255, 255, 255)
        return (60, 59, 110)
    return (178, 34, 52) if y % 2 == 0 else (255, 255, 255)


# --- file formats -------------------------------------------------------------------------------

def icon_image(c):
    """One 4-bit image of an icon file: header, palette, colour rows, mask rows (bottom-up)."""
    header = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = ((c.width * 4 + 31) // 32) * 4
    and_stride = ((c.width + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(c.pixels):
        bits = bytearray(xor_stride)
        and_bits = bytearray(and_stride)
        for x, p in enumerate(row):
            index = 0 if p is None else p
            bits[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if p is None:
                and_bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(bits)
        mask += bytes(and_bits)
    return header + palette + xor + mask


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_bmp(path, c):
    stride = ((c.width * 3 + 3) // 4) * 4
    rows = b""
    for row in reversed(c.pixels):
        line = b"".join(struct.pack("BBB", b, g, r) for r, g, b in row)
        rows += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + rows)


def write_preview_png(path, c, scale=8, background=(212, 208, 200)):
    raw = b""
    for row in c.pixels:
        line = b""
        for p in row:
            rgb = background if p is None else (PALETTE[p] if isinstance(p, int) else p)
            line += bytes(rgb) * scale
        raw += (b"\0" + line) * scale

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    ihdr = struct.pack(">IIBBBBB", c.width * scale, c.height * scale, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) +
                chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR", help="also write enlarged PNGs into DIR")
    args = parser.parse_args()

    pictures = {
        "mainicon.ico": [main_icon(32), main_icon(16)],
        "someicon.ico": [registry_icon(32)],
        "xicon.ico": [file_icon(32)],
        "flag_ru.bmp": [flag(russian_flag)],
        "flag_us.bmp": [flag(us_flag)],
    }
    os.makedirs(OUT, exist_ok=True)
    for name, canvases in pictures.items():
        path = os.path.join(OUT, name)
        if name.endswith(".ico"):
            write_ico(path, canvases)
        else:
            write_bmp(path, canvases[0])
        print(os.path.relpath(path))
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            for c in canvases:
                stem = os.path.splitext(name)[0]
                write_preview_png(os.path.join(args.preview, f"{stem}-{c.width}.png"), c)


if __name__ == "__main__":
    main()
