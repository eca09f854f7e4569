#!/usr/bin/python3
"""Draws the 16 x 16 game-style glyph sheet and packs it (resources/glyphs.lz).

Printable characters are rendered from DejaVu Sans Bold (Debian's fonts-dejavu-core);
the special shapes of codes 1 to 31 and 127 are drawn by hand below. Needs python3-pil.
Run from anywhere: python3 resources/make_glyph_sheet.py
"""
import os
from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
CELL = 16
BLANK = {0, 5, 10, 12, 13, 22, 32, 34, 59, 92, 94}
BAND = (0, 65, 124)


def cell_origin(code):
    return (CELL * (code % 16), CELL * (code // 16))


def draw_specials(draw):
    def box(code, x0, y0, x1, y1):
        ox, oy = cell_origin(code)
        draw.rectangle((ox + x0, oy + y0, ox + x1, oy + y1), fill=1)

    def rounded(code, corner_x, corner_y):
        """A full block whose outer corner at (corner_x, corner_y) is rounded off."""
        ox, oy = cell_origin(code)
        cx, cy = (8 if corner_x == 0 else 7), (8 if corner_y == 0 else 7)
        for y in range(CELL):
            for x in range(CELL):
                in_corner = (x < 8) == (corner_x == 0) and (y < 8) == (corner_y == 0)
                if not in_corner or (x - cx) ** 2 + (y - cy) ** 2 <= 64:
                    draw.point((ox + x, oy + y), fill=1)

    # 1-9: a filled panel in 3 x 3 pieces; 1, 3, 7, 9 have rounded outer corners, 5 is blank.
    rounded(1, 0, 0)
    box(2, 0, 0, 15, 9)
    rounded(3, 15, 0)
    box(4, 0, 0, 15, 15)
    box(6, 0, 0, 15, 15)
    rounded(7, 0, 15)
    box(8, 0, 0, 15, 15)
    rounded(9, 15, 15)
    box(11, 1, 1, 14, 14)
    for code in (14, 15, 28):
        box(code, 6, 6, 9, 9)
    # 16, 17: square brackets.
    box(16, 4, 1, 6, 14); box(16, 4, 1, 10, 3); box(16, 4, 12, 10, 14)
    box(17, 9, 1, 11, 14); box(17, 5, 1, 11, 3); box(17, 5, 12, 11, 14)
    # 18-26: an outlined frame in 3 x 3 pieces, centre 22 blank.
    box(18, 6, 6, 15, 8); box(18, 6, 6, 8, 15)
    box(19, 0, 6, 15, 8)
    box(20, 0, 6, 9, 8); box(20, 7, 6, 9, 15)
    box(21, 6, 0, 8, 15)
    box(23, 7, 0, 9, 15)
    box(24, 6, 0, 8, 9); box(24, 6, 7, 15, 9)
    box(25, 0, 7, 15, 9)
    box(26, 7, 0, 9, 9); box(26, 0, 7, 9, 9)
    box(27, 0, 0, 15, 2)
    # 29-31: a thick horizontal bar, left end, middle, right end.
    box(29, 3, 4, 15, 11); box(29, 2, 5, 2, 10)
    box(30, 0, 4, 15, 11)
    box(31, 0, 4, 12, 11); box(31, 13, 5, 13, 10)
    # 127: a left arrow.
    ox, oy = cell_origin(127)
    draw.polygon([(ox + 1, oy + 7), (ox + 7, oy + 1), (ox + 7, oy + 5), (ox + 14, oy + 5),
                  (ox + 14, oy + 10), (ox + 7, oy + 10), (ox + 7, oy + 14)], fill=1)


def main():
    sheet = Image.new("1", (256, 128), 0)
    draw = ImageDraw.Draw(sheet)
    font = ImageFont.truetype(FONT, 14)
    for code in range(33, 127):
        if code in BLANK:
            continue
        ox, oy = cell_origin(code)
        glyph = chr(code)
        left, _, right, _ = draw.textbbox((0, 0), glyph, font=font, anchor="ls")
        x = ox + (CELL - (right - left)) // 2 - left
        draw.text((x, oy + 12), glyph, font=font, fill=1, anchor="ls")
    draw_specials(draw)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "glyphs.lz")
    with open(path, "wb") as out:
        out.write(pack(cell_rows(lambda x, y: sheet.getpixel((x, y)))))


def cell_rows(glyph_at):
    """The sheet cell by cell (code 0 to 127), each cell's 16 rows as two bytes, the leftmost
    pixel in the highest bit: 4,096 bytes, the form GlyphSheet::FromPacked expands."""
    out = bytearray()
    for code in range(128):
        ox, oy = cell_origin(code)
        for y in range(CELL):
            bits = 0
            for x in range(CELL):
                bits = bits << 1 | (1 if glyph_at(ox + x, oy + y) else 0)
            out += bytes([bits >> 8, bits & 0xFF])
    return bytes(out)


MAX_DISTANCE, MIN_LENGTH, MAX_LENGTH = 2048, 3, 34


def pack(data):
    """LZSS: a flag byte leads each eight items, lowest bit first; a set bit is a literal byte,
    a clear one a copy of earlier output as two bytes, little-endian: bits 0-10 the distance
    back less one, bits 11-15 the length less three."""
    out, items, flags, flag_at = bytearray(), 0, 0, 0
    at = 0
    while at < len(data):
        if items % 8 == 0:
            flag_at = len(out)
            out.append(0)
        best, best_distance = 0, 0
        for distance in range(1, min(at, MAX_DISTANCE) + 1):
            length = 0
            while (length < MAX_LENGTH and at + length < len(data)
                   and data[at + length - distance] == data[at + length]):
                length += 1
            if length > best:
                best, best_distance = length, distance
        if best >= MIN_LENGTH:
            word = (best_distance - 1) | (best - MIN_LENGTH) << 11
            out += bytes([word & 0xFF, word >> 8])
            at += best
        else:
            out[flag_at] |= 1 << (items % 8)
            out.append(data[at])
            at += 1
        items += 1
    return bytes(out)


if __name__ == "__main__":
    main()
