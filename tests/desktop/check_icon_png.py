#!/usr/bin/env python3
"""Checks that a desktop icon shows the pixels of the program icon it is made
from: both are decoded here, the icon through icotool (icoutils), so that
neither side shares the build's reader.

  check_icon_png.py ICON.ico ICON.png

Prints the first difference and exits 1 when there is one.
"""
import struct
import subprocess
import sys
import zlib


def paeth(left, up, up_left):
    estimate = left + up - up_left
    return min((abs(estimate - left), 0, left), (abs(estimate - up), 1, up),
               (abs(estimate - up_left), 2, up_left))[2]


def read_png(data):
    """Width, height and the RGBA bytes of an 8-bit RGBA PNG, checked."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    at, kind, stream = 8, b"", b""
    while kind != b"IEND":
        length, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + length]
        assert struct.unpack_from(">I", data, at + 8 + length)[0] == zlib.crc32(kind + body), kind
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert (depth, colour, interlace) == (8, 6, 0), "not 8-bit RGBA without interlace"
        elif kind == b"IDAT":
            stream += body
        at += 12 + length
    assert at == len(data), "bytes after IEND"
    raw = zlib.decompress(stream)
    stride = width * 4
    assert len(raw) == (stride + 1) * height, "rows of the wrong size"
    pixels, previous = bytearray(), bytearray(stride)
    for y in range(height):
        kind, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - 4] if i >= 4 else 0
            up_left = previous[i - 4] if i >= 4 else 0
            row[i] = (row[i] + (0, left, previous[i], (left + previous[i]) // 2,
                                paeth(left, previous[i], up_left))[kind]) & 0xFF
        pixels += row
        previous = row
    return width, height, bytes(pixels)


def main(ico_path, png_path):
    expected = read_png(subprocess.run(["icotool", "-x", "-o", "-", ico_path], check=True,
                                       capture_output=True).stdout)
    with open(png_path, "rb") as png:
        actual = read_png(png.read())
    if actual[:2] != expected[:2]:
        print("%s is %dx%d, %s is %dx%d" % (png_path, *actual[:2], ico_path, *expected[:2]))
        return 1
    for at in range(0, len(expected[2]), 4):
        if actual[2][at:at + 4] != expected[2][at:at + 4]:
            x, y = at // 4 % expected[0], at // 4 // expected[0]
            print("%s: pixel (%d, %d) is %s, the icon's is %s" %
                  (png_path, x, y, actual[2][at:at + 4].hex(), expected[2][at:at + 4].hex()))
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
