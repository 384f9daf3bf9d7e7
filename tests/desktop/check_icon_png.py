#!/usr/bin/env python3
"""Checks that a desktop icon shows the pixels of the program icon it is made
from, the icon read by icotool (icoutils) rather than by the build's reader.

  check_icon_png.py ICON.ico ICON.png
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
    """Width, height and RGBA bytes of an 8-bit RGBA PNG, its chunks checked."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    at, kind, stream = 8, b"", b""
    while kind != b"IEND":
        length, kind = struct.unpack_from(">I4s", data, at)
        body = data[at + 8:at + 8 + length]
        assert struct.unpack_from(">I", data, at + 8 + length)[0] == zlib.crc32(kind + body), kind
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert (depth, colour, interlace) == (8, 6, 0), "not 8-bit RGBA without interlace"
        stream += body if kind == b"IDAT" else b""
        at += 12 + length
    raw, stride = zlib.decompress(stream), width * 4
    pixels, previous = bytearray(), bytearray(stride)
    for y in range(height):
        kind, row = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left, up_left = (row[i - 4], previous[i - 4]) if i >= 4 else (0, 0)
            row[i] = (row[i] + (0, left, previous[i], (left + previous[i]) // 2,
                                paeth(left, previous[i], up_left))[kind]) & 0xFF
        pixels += row
        previous = row
    return width, height, bytes(pixels)


def main(ico_path, png_path):
    icon = subprocess.run(["icotool", "-x", "-o", "-", ico_path], check=True, capture_output=True).stdout
    with open(png_path, "rb") as png:
        if read_png(png.read()) != read_png(icon):
            print("%s does not show the pixels of %s" % (png_path, ico_path))
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
