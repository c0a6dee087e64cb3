#!/usr/bin/env python3
"""Draws the two image strips of vor.dll as 24-bit BMP files from the pixel art below.

usage: make_bitmaps.py OUTPUT_DIR
Writes FolderImages.bmp (six 16 x 16 tree images on the mask colour RGB(0,128,128)) and
StateImages.bmp (five 12 x 14 list state images on white, which is their mask).
"""
import os
import struct
import sys

COLOURS = {
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "l": (192, 192, 192),
    "g": (128, 128, 128),
    "y": (255, 210, 0),
    "o": (160, 120, 0),
    "c": (120, 220, 255),
    "b": (0, 90, 210),
    "n": (0, 40, 130),
    "G": (0, 170, 0),
    "r": (220, 0, 0),
    "s": (250, 200, 150),
}

FOLDER_MASK = (0, 128, 128)
STATE_MASK = (255, 255, 255)

REPOSITORY = [
    "................",
    "....kkkkkkkk....",
    "..kkcccccccckk..",
    ".kcccccccccccck.",
    ".kbbkkkkkkkkbbk.",
    ".kbbbbbbbbbbbbk.",
    ".knbbbbbbbbbbnk.",
    ".knnbbbbbbbbnnk.",
    ".kknnnnnnnnnnkk.",
    ".kbbkkkkkkkkbbk.",
    ".kbbbbbbbbbbbbk.",
    ".knbbbbbbbbbbnk.",
    ".knnbbbbbbbbnnk.",
    "..kknnnnnnnnkk..",
    "....kkkkkkkk....",
    "................",
]

DRIVE = [
    "................",
    "................",
    "................",
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kllllllllllllk.",
    ".klllllllllGGlk.",
    ".kllllllllllllk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
    "................",
]

FOLDER = [
    "................",
    "................",
    "..kkkkk.........",
    ".kwyyyyk........",
    ".kyyyyyykkkkkkk.",
    ".kwwwwwwwwwwwwok",
    ".kwyyyyyyyyyyyok",
    ".kwyyyyyyyyyyyok",
    ".kwyyyyyyyyyyyok",
    ".kwyyyyyyyyyyyok",
    ".kwyyyyyyyyyyyok",
    ".kwyyyyyyyyyyyok",
    ".kwyyyyyyyyyyyok",
    ".koooooooooooook",
    "..kkkkkkkkkkkkkk",
    "................",
]

OPEN_FOLDER = [
    "................",
    "................",
    "..kkkkk.........",
    ".kwyyyyk........",
    ".kyyyyyykkkkkk..",
    ".kyooooooooook..",
    ".kyokkkkkkkkkkkk",
    ".kyokwyyyyyyyyk.",
    ".kykwyyyyyyyyyk.",
    ".kykwyyyyyyyyk..",
    ".kkwyyyyyyyyyk..",
    ".kkwyyyyyyyyk...",
    ".kwyyyyyyyyyk...",
    ".kkkkkkkkkkkk...",
    "................",
    "................",
]

FILE = [
    "................",
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwklk....",
    "..kwwwwwwkllk...",
    "..kwwwwwwkkkkk..",
    "..kwgggggggwwk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kwgggggggwwk..",
    "..kwwwwwwwwwwk..",
    "..kwggggggggwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
]

# A red check mark over the file: blanks keep the file's pixel.
CHECK_OVER_FILE = [
    "                ",
    "                ",
    "                ",
    "                ",
    "                ",
    "                ",
    "                ",
    "               r",
    "              rr",
    "             rr ",
    "        r  rr   ",
    "        rrrr    ",
    "         rr     ",
    "                ",
    "                ",
    "                ",
]

OPEN_PADLOCK = [
    "............",
    ".....kkkk...",
    "....kk..kk..",
    "....k....k..",
    "....k....k..",
    "....k....k..",
    "....k.......",
    "..kkkkkkkk..",
    "..kyyyyyyk..",
    "..kyyykyyk..",
    "..kyyykyyk..",
    "..kyyyyyyk..",
    "..kkkkkkkk..",
    "............",
]

USER = [
    "............",
    "....kkkk....",
    "...kssssk...",
    "...kssssk...",
    "...kssssk...",
    "....kkkk....",
    "..kkbbbbkk..",
    ".kbbbbbbbbk.",
    ".kbbbbbbbbk.",
    ".kbbbbbbbbk.",
    ".kbbbbbbbbk.",
    ".kkkkkkkkkk.",
    "............",
    "............",
]

CHECK_MARK = [
    "............",
    "............",
    "..........r.",
    ".........rr.",
    "........rrr.",
    ".......rrr..",
    ".r....rrr...",
    ".rr..rrr....",
    ".rrrrrr.....",
    "..rrrr......",
    "...rr.......",
    "............",
    "............",
    "............",
]

RIGHT_ARROW = [
    "............",
    "............",
    "......k.....",
    "......kk....",
    "......kGk...",
    ".kkkkkkGGk..",
    ".kGGGGGGGGk.",
    ".kGGGGGGGGk.",
    ".kkkkkkGGk..",
    "......kGk...",
    "......kk....",
    "......k.....",
    "............",
    "............",
]

LEFT_ARROW = [row[::-1] for row in RIGHT_ARROW]


def overlay(image, marks):
    return ["".join(m if m != " " else c for c, m in zip(row, over))
            for row, over in zip(image, marks)]


def strip(images, width, height, background):
    """Pixel rows, top first, of the images side by side."""
    for image in images:
        assert len(image) == height and all(len(row) == width for row in image), image
    palette = dict(COLOURS, **{".": background})
    return [[palette[c] for image in images for c in image[y]] for y in range(height)]


def bmp_bytes(rows):
    """A bottom-up 24-bit BMP; each row is padded to four bytes."""
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = b"".join(bytes(v for r, g, b in row for v in (b, g, r)).ljust(stride, b"\0")
                      for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + pixels


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    folder = [REPOSITORY, DRIVE, FOLDER, OPEN_FOLDER, FILE, overlay(FILE, CHECK_OVER_FILE)]
    state = [OPEN_PADLOCK, USER, CHECK_MARK, RIGHT_ARROW, LEFT_ARROW]
    for name, images, size, mask in (
        ("FolderImages.bmp", folder, (16, 16), FOLDER_MASK),
        ("StateImages.bmp", state, (12, 14), STATE_MASK),
    ):
        with open(os.path.join(out, name), "wb") as f:
            f.write(bmp_bytes(strip(images, *size, mask)))


if __name__ == "__main__":
    main()
