#!/usr/bin/env python3
"""Regenerates the picture assets in the folder above this one.

    python3 assets/tools/make_assets.py

The progress block, the icon and the PNG icon are written byte by byte here,
so that every pixel and every header field is exactly what the program
expects. Only the welcome picture needs ImageMagick's `convert`, for drawing
and JPEG encoding. The generated files are committed; the build needs neither
Python nor ImageMagick. license.txt is written by hand and not generated.
"""

import struct
import subprocess
import sys
import zlib
from pathlib import Path

ASSETS = Path(__file__).resolve().parent.parent

NAVY = (0, 0, 128)
LIGHT_GREY = (192, 192, 192)


# --- progress block ---------------------------------------------------------

def progress_block_pixel(x, y):
    """Three navy segments with two light grey gaps; in the top row only the
    first gap is grey."""
    if 6 <= x <= 10:
        return LIGHT_GREY
    if 19 <= x <= 23 and y > 0:
        return LIGHT_GREY
    return NAVY


def write_bmp24(path, width, height, pixel):
    stride = (width * 3 + 3) & ~3
    image = bytearray()
    for y in reversed(range(height)):  # BMP rows run bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        image += row
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    # 2835 pixels per metre is 72 dots per inch.
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image),
                       2835, 2835, 0, 0)
    path.write_bytes(header + info + image)


# --- window icon ------------------------------------------------------------

# The 16 colours of the classic VGA palette, by index.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# A handheld with a blue screen showing a "T". Hex digits index PALETTE16,
# '.' is transparent.
ICON_ART = [
    "................................",
    "................................",
    "........0000000000000000........",
    ".......077777777777777770.......",
    ".......078888888888888880.......",
    ".......078000000000000080.......",
    ".......078044444444444080.......",
    ".......0780CCCCCCCCCCC080.......",
    ".......0780CFFFFFFFFFC080.......",
    ".......0780CFFFFFFFFFC080.......",
    ".......0780CCCCFFFCCCC080.......",
    ".......0780CCCCFFFCCCC080.......",
    ".......0780CCCCFFFCCCC080.......",
    ".......0780CCCCFFFCCCC080.......",
    ".......0780CCCCFFFCCCC080.......",
    ".......0780CCCCFFFCCCC080.......",
    ".......0780CCCCFFFCCCC080.......",
    ".......0780CCCCCCCCCCC080.......",
    ".......0780EEEEEEEEEEE080.......",
    ".......078000000000000080.......",
    ".......078888888888888880.......",
    ".......078888888888888880.......",
    ".......078888800000888880.......",
    ".......078448807770884480.......",
    ".......078448807F70884480.......",
    ".......078888807770888880.......",
    ".......078888800000888880.......",
    ".......078888888888888880.......",
    ".......078888888888888880.......",
    ".......078888888888888880.......",
    "........0000000000000000........",
    "................................",
]

# The monochrome version: light parts white, dark parts black.
MONO_WHITE = {0x7, 0x8, 0xE, 0xF}


def icon_index(x, y):
    c = ICON_ART[y][x]
    return None if c == "." else int(c, 16)


def mask_rows(size):
    """The AND mask, top row first: 1 where the icon is transparent."""
    stride = ((size + 31) // 32) * 4
    rows = []
    for y in range(size):
        bits = bytearray(stride)
        for x in range(size):
            if icon_index(x, y) is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    return rows


def icon_image(size, bit_count, palette, index_of):
    """One icon image: BITMAPINFOHEADER (height doubled for the mask),
    palette, colour bitmap and AND mask, both bottom-up."""
    stride = ((size * bit_count + 31) // 32) * 4
    per_byte = 8 // bit_count
    colour_rows = []
    for y in range(size):
        row = bytearray(stride)
        for x in range(size):
            i = index_of(x, y)
            shift = (per_byte - 1 - x % per_byte) * bit_count
            row[x // per_byte] |= i << shift
        colour_rows.append(bytes(row))
    colour = b"".join(reversed(colour_rows))
    mask = b"".join(reversed(mask_rows(size)))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bit_count, 0,
                       len(colour) + len(mask), 0, 0, len(palette), 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return info + pal + colour + mask


def write_ico(path):
    size = 32

    def index16(x, y):
        i = icon_index(x, y)
        return 0 if i is None else i  # transparent pixels are black under the mask

    def index2(x, y):
        i = icon_index(x, y)
        return 1 if i is not None and i in MONO_WHITE else 0

    images = [
        (16, 4, icon_image(size, 4, PALETTE16, index16)),
        (2, 1, icon_image(size, 1, [(0, 0, 0), (255, 255, 255)], index2)),
    ]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for colours, bits, data in images:
        out += struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1, bits,
                           len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    path.write_bytes(out)


def write_png_icon(path):
    size = 32
    raw = bytearray()
    for y in range(size):
        raw.append(0)  # filter: none
        for x in range(size):
            i = icon_index(x, y)
            raw += bytes((0, 0, 0, 0)) if i is None else bytes(PALETTE16[i] + (255,))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    path.write_bytes(png)


# --- welcome picture --------------------------------------------------------

def write_welcome(path):
    """A handheld on a blue-to-teal background. The window shows the picture
    unscaled in a slightly smaller box, so nothing important sits within
    8 pixels of the right and bottom edges."""
    w, h = 208, 214
    draw = [
        "convert", "-size", f"{w}x{h}", "gradient:#17306e-#3aa7c4",
        # soft light spots
        "-fill", "rgba(255,255,255,0.10)",
        "-draw", "circle 30,40 30,72",
        "-draw", "circle 180,30 180,48",
        "-draw", "circle 170,150 170,196",
        "-fill", "rgba(255,255,255,0.07)",
        "-draw", "circle 40,180 40,200",
        # a low wave along the bottom
        "-fill", "rgba(255,255,255,0.12)",
        "-draw", "path 'M 0,170 C 50,140 120,200 208,160 L 208,214 L 0,214 Z'",
        # shadow under the device
        "(", "-size", f"{w}x{h}", "xc:none", "-fill", "rgba(0,0,0,0.45)",
        "-draw", "ellipse 98,190 46,7 0,360", "-blur", "0x4", ")",
        "-composite",
        # stylus, leaning against the right side
        "-stroke", "#2a2e35", "-strokewidth", "6",
        "-draw", "line 152,62 170,178",
        "-stroke", "#d9dde3", "-strokewidth", "4",
        "-draw", "line 152,62 170,178",
        "-stroke", "#8c939e", "-strokewidth", "4",
        "-draw", "line 168,166 170,178",
        "-stroke", "none",
        # body
        "-fill", "#1f2329", "-draw", "roundrectangle 52,22 144,188 16,16",
        "-fill", "#3b414b", "-draw", "roundrectangle 54,24 142,186 15,15",
        "-fill", "#2c3139", "-draw", "roundrectangle 58,28 138,182 12,12",
        # screen bezel
        "-fill", "#111418", "-draw", "roundrectangle 64,38 132,134 4,4",
    ]
    screen = [
        # the screen itself: a sky gradient with a status bar and app tiles
        "(", "-size", "62x90", "gradient:#d8f1ff-#5fa8e6",
        "-fill", "#24508f", "-draw", "rectangle 0,0 61,7",
        "-fill", "#9fe0ff", "-draw", "rectangle 3,2 12,5",
        "-fill", "#ffffff", "-draw", "rectangle 48,2 57,5",
        "-fill", "#f2a33a", "-draw", "roundrectangle 6,16 20,30 3,3",
        "-fill", "#4cbf6b", "-draw", "roundrectangle 24,16 38,30 3,3",
        "-fill", "#e0566b", "-draw", "roundrectangle 42,16 56,30 3,3",
        "-fill", "#7a63d1", "-draw", "roundrectangle 6,36 20,50 3,3",
        "-fill", "#2f9fd0", "-draw", "roundrectangle 24,36 38,50 3,3",
        "-fill", "#f5d04a", "-draw", "roundrectangle 42,36 56,50 3,3",
        "-fill", "rgba(255,255,255,0.75)", "-draw", "roundrectangle 6,58 56,66 3,3",
        "-fill", "rgba(255,255,255,0.55)", "-draw", "roundrectangle 6,70 44,78 3,3",
        ")", "-geometry", "+67+41", "-composite",
    ]
    keys = [
        # hardware keys and the round navigation pad
        "-fill", "#15181d",
        "-draw", "circle 76,158 76,168",
        "-draw", "circle 120,158 120,168",
        "-draw", "circle 98,156 98,172",
        "-fill", "#565e6b",
        "-draw", "circle 76,158 76,166",
        "-draw", "circle 120,158 120,166",
        "-fill", "#6b7482", "-draw", "circle 98,156 98,170",
        "-fill", "#8a93a1", "-draw", "circle 98,156 98,162",
        # speaker slot and a glint on the screen
        "-fill", "#15181d", "-draw", "roundrectangle 88,30 108,33 1,1",
        "-fill", "rgba(255,255,255,0.18)",
        "-draw", "polygon 67,41 100,41 67,90",
    ]
    encode = ["-type", "TrueColor", "-sampling-factor", "2x2", "-quality", "92",
              "-strip", f"jpeg:{path}"]
    subprocess.run(draw + screen + keys + encode, check=True)


def main():
    write_bmp24(ASSETS / "progressblock.bmp", 30, 24, progress_block_pixel)
    write_ico(ASSETS / "torvex.ico")
    write_png_icon(ASSETS / "torvex.png")
    write_welcome(ASSETS / "welcome.jpg")
    return 0


if __name__ == "__main__":
    sys.exit(main())
