#!/usr/bin/env python3
"""Draws the status monitor's artwork and writes it in the Windows file formats.

Writes, into the folder given as the only argument (default: monitor/res beside this tree):

  status_monitor.ico  window icon (32x32 and 16x16, 8 bpp)
  tray.ico            tray icon (24x24 and 16x16, 8 bpp)
  printer.bmp         picture of the printer, 102x76, 24 bpp, uncompressed
  error.ani           error animation: blinking red "!" sign, 2 frames
  info.ani            information animation: blue "i" sign, 2 frames

Everything is drawn here from simple shapes with 4x4 supersampling; only the Python 3
standard library is used. The output is deterministic, so running the script again gives
byte-identical files.
"""

import os
import struct
import sys

SUPERSAMPLE = 4

# --------------------------------------------------------------------------------------------
# Shapes. Each is a predicate over continuous coordinates (pixel units, y down) plus a colour,
# which may be a constant (r, g, b) or a function of (x, y).


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in < (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def polygon(points):
    n = len(points)

    def inside(x, y):
        hit = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def vgradient(y0, y1, top, bottom):
    def colour(_x, y):
        t = min(max((y - y0) / float(y1 - y0), 0.0), 1.0)
        return tuple(top[k] + (bottom[k] - top[k]) * t for k in range(3))
    return colour


def radial(cx, cy, r, centre, edge):
    def colour(x, y):
        t = min(((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 / r, 1.0)
        return tuple(centre[k] + (edge[k] - centre[k]) * t for k in range(3))
    return colour


def render(width, height, shapes, background=None):
    """Returns rows of (r, g, b, opaque) pixels; later shapes paint over earlier ones."""
    rows = []
    step = 1.0 / SUPERSAMPLE
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SUPERSAMPLE):
                y = py + (sy + 0.5) * step
                for sx in range(SUPERSAMPLE):
                    x = px + (sx + 0.5) * step
                    colour = background
                    for inside, paint in reversed(shapes):
                        if inside(x, y):
                            colour = paint(x, y) if callable(paint) else paint
                            break
                    if colour is not None:
                        covered += 1
                        for k in range(3):
                            acc[k] += colour[k]
            total = SUPERSAMPLE * SUPERSAMPLE
            if covered * 2 >= total:
                row.append(tuple(int(round(acc[k] / covered)) for k in range(3)) + (True,))
            else:
                row.append((0, 0, 0, False))
        rows.append(row)
    return rows


# --------------------------------------------------------------------------------------------
# Palette reduction for the 8-bpp images: the exact colours when there are at most 256 of them,
# otherwise the 256 most frequent ones with every other colour mapped to its nearest entry.


def make_palette(rows):
    counts = {}
    for row in rows:
        for r, g, b, opaque in row:
            if opaque:
                counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
    # Entry 0 is black: transparent pixels of icons and cursors are black under the mask.
    colours = sorted(counts, key=lambda c: (-counts[c], c))
    palette = [(0, 0, 0)] + [c for c in colours if c != (0, 0, 0)][:255]
    index = {c: i for i, c in enumerate(palette)}
    for c in colours:
        if c not in index:
            index[c] = min(range(len(palette)),
                           key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
    while len(palette) < 256:
        palette.append((0, 0, 0))
    return palette, index


def dib_8bpp(rows):
    """BITMAPINFOHEADER + palette + XOR bitmap + AND mask, as stored inside .ico and .cur."""
    height = len(rows)
    width = len(rows[0])
    palette, index = make_palette(rows)
    xor_stride = (width + 3) & ~3
    and_stride = ((width + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, (r, g, b, opaque) in enumerate(row):
            if opaque:
                line[x] = index[(r, g, b)]
            else:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 8, 0,
                         len(xor) + len(mask), 0, 0, 256, 0)
    quads = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + bytes(xor) + bytes(mask)


def icon_file(images, kind=1, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) file holding the given 8-bpp images."""
    dibs = [dib_8bpp(rows) for rows in images]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for rows, dib in zip(images, dibs):
        width = len(rows[0])
        height = len(rows)
        if kind == 1:
            field1, field2 = 1, 8  # planes, bit count
        else:
            field1, field2 = hotspot
        out += struct.pack("<BBBBHHII", width & 0xFF, height & 0xFF, 0, 0,
                           field1, field2, len(dib), offset)
        offset += len(dib)
    return out + b"".join(dibs)


def bmp_24bpp(rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                              14 + len(info))
    return file_header + info + bytes(pixels)


# --------------------------------------------------------------------------------------------
# RIFF animated cursor.


def chunk(tag, data):
    body = tag + struct.pack("<I", len(data)) + data
    return body + (b"\0" if len(data) & 1 else b"")


def riff_list(kind, chunks):
    return chunk(b"LIST", kind + b"".join(chunks))


ANI_AUTHOR = b"Ombrix Printer Team\0"  # 19 characters and the terminating zero
JIFFIES_PER_FRAME = 12
AF_ICON = 1


def ani_file(title, frames):
    info = riff_list(b"INFO", [chunk(b"INAM", title.encode("ascii") + b"\0"),
                               chunk(b"IART", ANI_AUTHOR)])
    anih = chunk(b"anih", struct.pack("<9I", 36, len(frames), len(frames), 0, 0, 0, 1,
                                      JIFFIES_PER_FRAME, AF_ICON))
    fram = riff_list(b"fram", [chunk(b"icon", f) for f in frames])
    return chunk(b"RIFF", b"ACON" + info + anih + fram)


# --------------------------------------------------------------------------------------------
# The artwork.

WHITE = (255, 255, 255)
PAPER = (250, 250, 244)
INK = (120, 120, 130)
SLOT = (40, 42, 48)
LED_GREEN = (40, 200, 60)
LED_AMBER = (240, 160, 30)


def printer_glyph(size):
    """A small printer: fanfold paper rising from the top, grey body, paper slot, green LED."""
    s = float(size)
    shapes = []
    # Paper behind the body, with two printed lines on bigger sizes.
    shapes.append((rect(0.24 * s, 0.06 * s, 0.76 * s, 0.50 * s), PAPER))
    if size >= 24:
        for k in range(3):
            y = (0.15 + 0.09 * k) * s
            shapes.append((rect(0.32 * s, y, (0.68 - 0.06 * k) * s, y + max(1.0, s / 32)), INK))
    # Paper edge lines so the sheet reads on a white taskbar too.
    edge = max(1.0, s / 32)
    shapes.append((rect(0.24 * s - edge, 0.06 * s, 0.24 * s, 0.50 * s), (150, 150, 150)))
    shapes.append((rect(0.76 * s, 0.06 * s, 0.76 * s + edge, 0.50 * s), (150, 150, 150)))
    shapes.append((rect(0.24 * s - edge, 0.06 * s - edge, 0.76 * s + edge, 0.06 * s),
                   (150, 150, 150)))
    # Body with a darker outline.
    shapes.append((rounded_rect(0.04 * s, 0.40 * s, 0.96 * s, 0.90 * s, 0.10 * s),
                   (70, 74, 82)))
    shapes.append((rounded_rect(0.04 * s + edge, 0.40 * s + edge, 0.96 * s - edge,
                                0.90 * s - edge, 0.10 * s - edge),
                   vgradient(0.40 * s, 0.90 * s, (212, 214, 220), (138, 142, 152))))
    # Paper slot across the top of the body, the paper disappearing into it.
    shapes.append((rect(0.18 * s, 0.46 * s, 0.82 * s, 0.46 * s + max(1.5, 0.08 * s)), SLOT))
    shapes.append((rect(0.24 * s, 0.40 * s, 0.76 * s, 0.46 * s), PAPER))
    # Front panel line and the LED.
    shapes.append((rect(0.10 * s, 0.70 * s, 0.62 * s, 0.70 * s + edge), (96, 100, 110)))
    shapes.append((circle(0.80 * s, 0.70 * s, max(1.2, 0.07 * s)), LED_GREEN))
    return render(size, size, shapes)


def printer_picture():
    """The dot-matrix printer of the status window, 102 x 76, on the dialog's face colour."""
    w, h = 102, 76
    face = (240, 240, 240)
    shapes = []
    # Soft shadow under the printer.
    shapes.append((ellipse(51, 69, 48, 4.5), (205, 205, 208)))
    # Fanfold paper rising from the back, with perforation margins and dot-matrix text.
    shapes.append((rect(24, 3, 78, 36), PAPER))
    shapes.append((rect(23, 3, 24, 36), (170, 170, 170)))
    shapes.append((rect(78, 3, 79, 36), (170, 170, 170)))
    shapes.append((rect(23, 2, 79, 3), (170, 170, 170)))
    shapes.append((rect(32, 3, 33, 36), (222, 222, 222)))  # perforation lines
    shapes.append((rect(69, 3, 70, 36), (222, 222, 222)))
    for y in range(6, 34, 5):
        shapes.append((circle(28, y, 1.3), (175, 175, 180)))
        shapes.append((circle(74, y, 1.3), (175, 175, 180)))
    for k, length in enumerate((30, 24, 33, 18, 27)):
        y = 7 + 5 * k
        for x in range(36, 36 + length, 2):
            shapes.append((rect(x, y, x + 1, y + 2), (70, 70, 90)))
    shapes.append((rect(24, 19, 78, 20), (215, 215, 215)))  # sheet fold
    # Top surface, in perspective.
    shapes.append((polygon([(12, 30), (90, 30), (98, 45), (4, 45)]), (64, 66, 74)))
    shapes.append((polygon([(13, 31), (89, 31), (96.5, 44.5), (5.5, 44.5)]),
                   vgradient(31, 45, (226, 228, 232), (188, 190, 198))))
    # Paper slot and the paper entering it.
    shapes.append((polygon([(20, 33), (82, 33), (84, 38), (18, 38)]), SLOT))
    shapes.append((rect(24, 30, 78, 35), PAPER))
    shapes.append((rect(24, 34, 78, 35), (200, 200, 200)))
    # Platen knob at the right end.
    shapes.append((ellipse(97, 39, 3.5, 5), (60, 60, 66)))
    shapes.append((ellipse(97, 38, 2, 3), (120, 120, 128)))
    # Front of the body.
    shapes.append((rect(4, 45, 98, 68), (64, 66, 74)))
    shapes.append((rect(5, 45, 97, 67), vgradient(45, 67, (176, 180, 188), (120, 124, 134))))
    shapes.append((rect(5, 45, 97, 46), (236, 238, 242)))  # highlight on the edge
    # Brand stripe and ventilation slots.
    shapes.append((rect(9, 49, 58, 51), (40, 80, 170)))
    for k in range(6):
        x = 10 + 7 * k
        shapes.append((rounded_rect(x, 55, x + 4, 64, 1.2), (88, 92, 102)))
    # Control panel: two LEDs and two buttons.
    shapes.append((rounded_rect(66, 49, 94, 64, 2), (80, 84, 94)))
    shapes.append((rounded_rect(67, 50, 93, 63, 1.5), (150, 154, 164)))
    shapes.append((circle(72, 54, 2), LED_GREEN))
    shapes.append((circle(79, 54, 2), LED_AMBER))
    shapes.append((rounded_rect(69, 58, 77, 61.5, 1), (60, 62, 70)))
    shapes.append((rounded_rect(80, 58, 88, 61.5, 1), (60, 62, 70)))
    # Feet.
    shapes.append((rect(10, 68, 20, 70), (50, 50, 56)))
    shapes.append((rect(82, 68, 92, 70), (50, 50, 56)))
    return render(w, h, shapes, background=face)


def sign_frame(kind, lit):
    """One 32 x 32 frame: a round sign with "!" (error) or "i" (info); lit or dimmed."""
    if kind == "error":
        rim = (120, 0, 0) if lit else (150, 60, 60)
        centre, edge = ((255, 80, 70), (200, 0, 0)) if lit else ((250, 210, 205), (225, 150, 145))
        glyph = WHITE if lit else (200, 20, 20)
    else:
        rim = (0, 40, 130) if lit else (20, 70, 150)
        centre, edge = ((110, 170, 255), (20, 80, 210)) if lit else ((90, 150, 240), (10, 60, 180))
        glyph = WHITE if lit else (255, 240, 150)
    shapes = [
        (circle(16, 16, 15), rim),
        (circle(16, 16, 13.6), radial(12, 11, 17, centre, edge)),
    ]
    if kind == "error":
        shapes.append((polygon([(13.6, 6), (18.4, 6), (17.4, 19.5), (14.6, 19.5)]), glyph))
        shapes.append((circle(16, 24.2, 2.4), glyph))
    else:
        shapes.append((circle(16, 8.6, 2.5), glyph))
        shapes.append((polygon([(12.5, 13), (18, 13), (18, 23), (20, 23), (20, 26), (12, 26),
                                (12, 23), (14, 23), (14, 16), (12.5, 16)]), glyph))
    return render(32, 32, shapes)


CURSOR_FRAME_SIZE = 6 + 16 + 40 + 256 * 4 + 32 * 32 + 32 * 4


def cursor_frame(kind, lit):
    data = icon_file([sign_frame(kind, lit)], kind=2, hotspot=(0, 0))
    assert len(data) == CURSOR_FRAME_SIZE, len(data)
    return data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "monitor",
                                                                 "res")
    os.makedirs(out_dir, exist_ok=True)
    files = {
        "status_monitor.ico": icon_file([printer_glyph(32), printer_glyph(16)]),
        "tray.ico": icon_file([printer_glyph(24), printer_glyph(16)]),
        "printer.bmp": bmp_24bpp(printer_picture()),
        "error.ani": ani_file("Converted from effor_final_3.gif",
                              [cursor_frame("error", True), cursor_frame("error", False)]),
        "info.ani": ani_file("Converted from info_final.gif",
                             [cursor_frame("info", True), cursor_frame("info", False)]),
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print("%-20s %6d bytes" % (name, len(data)))


if __name__ == "__main__":
    main()
