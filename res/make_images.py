#!/usr/bin/env python3
"""Writes the add-in's pictures: five 17 x 11 tree images and the 32 x 32 About box icon, all with
the 16 standard colours (4 bits per pixel). Run it after changing a picture; the files it writes
are kept in the repository beside it and compiled into QORMAIL.DLL by qormail.rc.

    python3 res/make_images.py      # writes res/images/*.bmp and res/images/qormail.ico
"""

import os
import struct

# The 16 standard colours, in their usual order, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Letters of the drawings below: the tree's background is the window colour (white).
COLOURS = {".": 15, "k": 0, "y": 11, "o": 3, "s": 7, "g": 8, "r": 9, "w": 15, "b": 4, "n": 1}

CLOSED_YELLOW = """
.................
.kkkkkkkkkkkkkkk.
.kooyyyyyyyyyook.
.kyyooyyyyyooyyk.
.kyyyyooyooyyyyk.
.kyyyyyyoyyyyyyk.
.kyyyyyyyyyyyyyk.
.kyyyyyyyyyyyyyk.
.kyyyyyyyyyyyyyk.
.kkkkkkkkkkkkkkk.
.................
"""

# Received mail: it comes in from the left.
RECEIVED_YELLOW = """
.................
.................
.....kkkkkkkkkkk.
.....kooyyyyyook.
kkk..kyyooyooyyk.
.....kyyyyoyyyyk.
.kkk.kyyyyyyyyyk.
.....kyyyyyyyyyk.
kkk..kyyyyyyyyyk.
.....kkkkkkkkkkk.
.................
"""

# Sent mail: it goes out to the right.
SENT_GREY = """
.................
.................
.kkkkkkkkkkk.....
.kggsssssggk.....
.kssggsggssk..kkk
.kssssgssssk.....
.ksssssssssk.kkk.
.ksssssssssk.....
.ksssssssssk..kkk
.kkkkkkkkkkk.....
.................
"""

OPENED_YELLOW = """
........k........
......kkokk......
....kkoooookk....
..kkoooooooookk..
.kkkkkkkkkkkkkkk.
.kyoyyyyyyyyyoyk.
.kyyoyyyyyyyoyyk.
.kyyyooyyyooyyyk.
.kyyyyyoooyyyyyk.
.kkkkkkkkkkkkkkk.
.................
"""

OPENED_GREY = OPENED_YELLOW.replace("y", "s").replace("o", "g")

# Resource id, file, picture.
TREE_IMAGES = [
    (231, "sent.bmp", SENT_GREY),
    (232, "received.bmp", RECEIVED_YELLOW),
    (234, "received_open.bmp", OPENED_YELLOW),
    (235, "closed.bmp", CLOSED_YELLOW),
    (236, "sent_open.bmp", OPENED_GREY),
]


def rows_of(picture, width, height):
    rows = [line for line in picture.strip("\n").split("\n")]
    assert len(rows) == height, (len(rows), height)
    for row in rows:
        assert len(row) == width, row
    return [[COLOURS[c] for c in row] for row in rows]


def palette_bytes():
    return b"".join(bytes([b, g, r, 0]) for r, g, b in PALETTE)


def pixel_rows(rows):
    """Bottom-up rows of 4-bit pixels, each padded to a multiple of 4 bytes."""
    out = b""
    for row in reversed(rows):
        packed = bytearray()
        for i in range(0, len(row), 2):
            high = row[i]
            low = row[i + 1] if i + 1 < len(row) else 0
            packed.append(high << 4 | low)
        while len(packed) % 4:
            packed.append(0)
        out += bytes(packed)
    return out


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 16)


def bitmap_file(rows):
    height, width = len(rows), len(rows[0])
    pixels = pixel_rows(rows)
    body = info_header(width, height, len(pixels)) + palette_bytes() + pixels
    return struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 14 + 40 + 64) + body


def icon_picture():
    """A yellow envelope with a red seal on the About box's grey: 32 x 32, drawn by lines."""
    size = 32
    grid = [["s"] * size for _ in range(size)]  # transparent through the mask anyway

    def put(x, y, c):
        if 0 <= x < size and 0 <= y < size:
            grid[y][x] = c

    left, top, right, bottom = 2, 7, 29, 25
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = y in (top, bottom) or x in (left, right)
            put(x, y, "k" if edge else "y")
    # The flap: two lines from the upper corners to the middle.
    middle = (left + right) // 2
    depth = 10
    for step in range(middle - left + 1):
        y = top + round(step * depth / (middle - left))
        put(left + step, y, "o")
        put(right - step, y, "o")
    # The lower folds.
    for step in range(8):
        put(left + 1 + step, bottom - 1 - step // 2, "o")
        put(right - 1 - step, bottom - 1 - step // 2, "o")
    # A round red seal where the flap closes.
    cx, cy = middle, top + depth + 1
    for y in range(cy - 3, cy + 4):
        for x in range(cx - 3, cx + 4):
            if (x - cx) ** 2 + (y - cy) ** 2 <= 10:
                put(x, y, "r")
    put(cx, cy, "n")
    mask = [[1 if grid[y][x] == "s" else 0 for x in range(size)] for y in range(size)]
    return [[COLOURS[c] if c != "s" else 0 for c in row] for row in grid], mask


def icon_file():
    rows, mask = icon_picture()
    size = len(rows)
    xor = pixel_rows(rows)
    and_bits = b""
    for row in reversed(mask):
        packed = bytearray()
        for i in range(0, size, 8):
            byte = 0
            for bit in range(8):
                byte = byte << 1 | row[i + bit]
            packed.append(byte)
        while len(packed) % 4:
            packed.append(0)
        and_bits += bytes(packed)
    image = info_header(size, size * 2, len(xor) + len(and_bits)) + palette_bytes() + xor + and_bits
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")
    os.makedirs(folder, exist_ok=True)
    for _, name, picture in TREE_IMAGES:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(bitmap_file(rows_of(picture, 17, 11)))
    with open(os.path.join(folder, "qormail.ico"), "wb") as f:
        f.write(icon_file())


if __name__ == "__main__":
    main()
