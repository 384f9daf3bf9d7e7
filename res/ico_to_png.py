#!/usr/bin/env python3
"""Writes the picture of a program icon as a PNG file for the Linux desktop.

  ico_to_png.py ICON.ico OUT.png

Reads the icon's first image (palette-indexed, 1, 4 or 8 bits a pixel, with
its transparency mask) and writes it as compressed 8-bit RGBA rows. The build
runs it over res/*.ico, so the desktop shows the program file's own pictures.
"""
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
INFO_HEADER_SIZE = 40
RGBA_COLOUR_TYPE = 6


def row_bytes(width, bits):
    # Bitmap rows are padded to whole 32-bit words.
    return (width * bits + 31) // 32 * 4


def read_ico(data):
    """The icon's width, height and top-down rows of RGBA bytes."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1) or count < 1:
        raise ValueError("not an icon file")
    (offset,) = struct.unpack_from("<I", data, 6 + 12)
    size, width, double_height, _, bits, compression, _, _, _, colours, _ = struct.unpack_from(
        "<IiiHHIIiiII", data, offset)
    if size != INFO_HEADER_SIZE or bits not in (1, 4, 8) or compression != 0:
        raise ValueError("not a palette-indexed icon image")
    height = double_height // 2  # colour rows, then mask rows
    colours = colours or 1 << bits
    palette = offset + INFO_HEADER_SIZE
    colour_rows = palette + 4 * colours
    mask_rows = colour_rows + row_bytes(width, bits) * height
    if mask_rows + row_bytes(width, 1) * height > len(data):
        raise ValueError("icon file cut short")
    rows = []
    for stored_row in reversed(range(height)):  # rows are stored bottom-up
        colour_row = colour_rows + stored_row * row_bytes(width, bits)
        mask_row = mask_rows + stored_row * row_bytes(width, 1)
        row = bytearray()
        for x in range(width):
            bit = x * bits
            index = data[colour_row + bit // 8] >> (8 - bits - bit % 8) & ((1 << bits) - 1)
            if index >= colours:
                raise ValueError("colour index outside the palette")
            blue, green, red = data[palette + 4 * index:palette + 4 * index + 3]
            transparent = data[mask_row + x // 8] >> (7 - x % 8) & 1
            row += bytes((red, green, blue, 0 if transparent else 255))
        rows.append(bytes(row))
    return width, height, rows


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, RGBA_COLOUR_TYPE, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in rows)  # filter type None on every row
    return (SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def main(ico_path, png_path):
    with open(ico_path, "rb") as ico:
        png = write_png(*read_ico(ico.read()))
    with open(png_path, "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main(*sys.argv[1:])
