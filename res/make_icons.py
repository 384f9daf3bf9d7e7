#!/usr/bin/env python3
"""Draws the two program icons (32x32, 16 colours) and writes them as .ico.

class.ico: a sheet with a steaming cup, for compiled classes.
source.ico: a sheet with a cup and text lines, for sources.
Run from this directory; the .ico files are committed beside it.
"""
import struct

# The 16 colours of the standard Windows palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, GREY, WHITE, RED, BLUE = 0, 1, 8, 15, 9, 12

SHEET = [
    "....KKKKKKKKKKKKKKKKKKK.........",
    "....KWWWWWWWWWWWWWWWWWKK........",
    "....KWWWWWWWWWWWWWWWWWKWK.......",
    "....KWWWWWWWWWWWWWWWWWKWWK......",
    "....KWWWWWWWWWWWWWWWWWKKKKK.....",
    "....KWWWWWWWWWWWWWWWWWWWWWK.....",
]


def sheet(body):
    rows = list(SHEET)
    for line in body:
        rows.append("....KW" + line + "WK.....")
    while len(rows) < 31:
        rows.append("....KWWWWWWWWWWWWWWWWWWWWWK.....")
    rows.append("....KKKKKKKKKKKKKKKKKKKKKKK.....")
    return rows


CUP = [
    "WWWWWRWWRWWWWWWWWWW",
    "WWWWWWRWWRWWWWWWWWW",
    "WWWWWRWWRWWWWWWWWWW",
    "WWWWWWRWWRWWWWWWWWW",
    "WWWWWWWWWWWWWWWWWWW",
    "WWWBBBBBBBBBBBWWWWW",
    "WWWBDDDDDDDDDBBBWWW",
    "WWWBDDDDDDDDDBWWBWW",
    "WWWBDDDDDDDDDBWWBWW",
    "WWWBDDDDDDDDDBBBWWW",
    "WWWWBDDDDDDDBWWWWWW",
    "WWWWWBBBBBBBWWWWWWW",
    "WWBBBBBBBBBBBBBWWWW",
]
LINES = [
    "WWWWWWWWWWWWWWWWWWW",
    "WGGGGGGGGGGGGGGWWWW",
    "WWWWWWWWWWWWWWWWWWW",
    "WGGGGGGGGGGWWWWWWWW",
    "WWWWWWWWWWWWWWWWWWW",
    "WGGGGGGGGGGGGGWWWWW",
]

COLOURS = {"K": BLACK, "W": WHITE, "R": RED, "B": BLUE, "D": DARK_RED, "G": GREY}


def write_ico(path, rows):
    assert len(rows) == 32 and all(len(r) == 32 for r in rows), path
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        pixels = [COLOURS.get(c, BLACK) for c in row]
        for i in range(0, 32, 2):
            xor.append(pixels[i] << 4 | pixels[i + 1])
        bits = 0
        for c in row:
            bits = bits << 1 | (c == ".")
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


write_ico("class.ico", sheet(CUP))
write_ico("source.ico", sheet(CUP[:8] + LINES))
