"""Writes palette-indexed BMP files (1, 4 or 8 bits a pixel), bottom-up, uncompressed: the
forms the programs read their pictures in."""
import struct


def save_indexed_bmp(path, width, height, bits, palette, index_at):
    """palette: list of (r, g, b); index_at(x, y) gives a pixel's palette index."""
    per_byte = 8 // bits
    stride = ((width * bits + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            shift = 8 - bits * (x % per_byte + 1)
            row[x // per_byte] |= index_at(x, y) << shift
        rows.append(bytes(row))
    pixels = b"".join(rows)
    colours = b"".join(bytes([b, g, r, 0]) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    with open(path, "wb") as f:
        f.write(header + info + colours + pixels)
