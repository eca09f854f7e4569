"""Writes palette-indexed BMP files (1, 4 or 8 bits a pixel), bottom-up, uncompressed or
run-length encoded (RLE8 for 8 bits, RLE4 for 4): the forms the programs read their pictures
in."""
import struct

RLE8, RLE4 = 1, 2


def _row_runs(indices, bits):
    """One row in RLE codes: runs of one index as (count, value), stretches of three or more
    differing pixels in absolute mode (padded to a 16-bit boundary), then end of line."""
    out = bytearray()
    x, width = 0, len(indices)

    def run_at(at):
        n = 1
        while at + n < width and n < 255 and indices[at + n] == indices[at]:
            n += 1
        return n

    while x < width:
        n = run_at(x)
        if n >= 2:
            value = indices[x] if bits == 8 else indices[x] << 4 | indices[x]
            out += bytes([n, value])
            x += n
            continue
        end = x
        while end < width and end - x < 255 and run_at(end) < 3:
            end += 1
        count = end - x
        if count < 3:
            value = indices[x] if bits == 8 else indices[x] << 4
            out += bytes([1, value])
            x += 1
            continue
        literal = indices[x:end]
        if bits == 4:
            literal = literal + [0] * (count % 2)
            packed = bytes(literal[i] << 4 | literal[i + 1] for i in range(0, count + count % 2, 2))
        else:
            packed = bytes(literal)
        out += bytes([0, count]) + packed + b"\0" * (len(packed) % 2)
        x = end
    return out + b"\0\0"


def save_indexed_bmp(path, width, height, bits, palette, index_at, compressed=False):
    """palette: list of (r, g, b); index_at(x, y) gives a pixel's palette index. `compressed`
    writes RLE8 (8 bits) or RLE4 (4 bits)."""
    per_byte = 8 // bits
    stride = ((width * bits + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):
        if compressed:
            rows.append(_row_runs([index_at(x, y) for x in range(width)], bits))
            continue
        row = bytearray(stride)
        for x in range(width):
            shift = 8 - bits * (x % per_byte + 1)
            row[x // per_byte] |= index_at(x, y) << shift
        rows.append(bytes(row))
    pixels = b"".join(rows) + (b"\0\1" if compressed else b"")
    compression = (RLE8 if bits == 8 else RLE4) if compressed else 0
    colours = b"".join(bytes([b, g, r, 0]) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    with open(path, "wb") as f:
        f.write(header + info + colours + pixels)
