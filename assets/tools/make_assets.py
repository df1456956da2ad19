#!/usr/bin/env python3
"""Regenerates the picture assets in the folder above this one.

    python3 assets/tools/make_assets.py

The progress block, the icon and the PNG icon are written byte by byte here,
so that every pixel and every header field is exactly what the program
expects; so are the desktop icons, drawn afresh for each size from the
handheld's shapes, and their scalable SVG. Only the welcome picture needs ImageMagick's `convert`, for drawing
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


def write_png(path, size, pixel):
    """An 8-bit RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    raw = bytearray()
    for y in range(size):
        raw.append(0)  # filter: none
        for x in range(size):
            raw += bytes(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    path.write_bytes(png)


def write_png_icon(path):
    def pixel(x, y):
        i = icon_index(x, y)
        return (0, 0, 0, 0) if i is None else PALETTE16[i] + (255,)

    write_png(path, 32, pixel)


# --- desktop icons ----------------------------------------------------------

# The window icon's handheld as shapes on its 32-unit grid, back to front:
# (kind, colour, x0, y0, x1, y1, corner radius, smallest size drawn at).
# Every size is drawn afresh from these: small sizes snap the edges to whole
# pixels and leave out the details that would only blur; large ones get
# smooth corners and a round navigation pad.
HANDHELD = [
    ("box", PALETTE16[0x0], 7, 2, 25, 31, 2.5, 0),      # outline
    ("box", PALETTE16[0x7], 8, 3, 24, 30, 1.8, 0),      # lit rim
    ("box", PALETTE16[0x8], 9, 4, 24, 30, 1.3, 0),      # body
    ("box", PALETTE16[0x0], 10, 5, 23, 20, 0.8, 0),     # screen bezel
    ("box", PALETTE16[0xC], 11, 6, 22, 19, 0, 0),       # screen
    ("box", PALETTE16[0x4], 11, 6, 22, 7, 0, 24),       # title bar
    ("box", PALETTE16[0xE], 11, 18, 22, 19, 0, 24),     # task bar
    ("box", PALETTE16[0xF], 12, 8, 21, 10, 0, 0),       # the T
    ("box", PALETTE16[0xF], 15, 10, 18, 17, 0, 0),
    ("box", PALETTE16[0x4], 10, 23, 12, 25, 0.6, 24),   # side keys
    ("box", PALETTE16[0x4], 21, 23, 23, 25, 0.6, 24),
    ("disc", PALETTE16[0x0], 14, 22, 19, 27, 0, 0),     # navigation pad
    ("disc", PALETTE16[0x7], 15, 23, 18, 26, 0, 0),
    ("disc", PALETTE16[0xF], 16, 24, 17, 25, 0, 24),
]
HICOLOR_SIZES = (16, 24, 32, 48, 64, 128, 256)


def shape_span(shape, y):
    """The shape's extent along the row at height y (grid units), or None."""
    kind, _, x0, y0, x1, y1, radius, _ = shape
    if not y0 <= y < y1:
        return None
    if kind == "disc":
        cx, cy, r = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2
        half = max(r * r - (y - cy) ** 2, 0) ** 0.5
        return cx - half, cx + half
    inset = 0
    corner = min(y - y0, y1 - y)
    if radius and corner < radius:
        inset = radius - (radius * radius - (radius - corner) ** 2) ** 0.5
    return x0 + inset, x1 - inset


def snapped(shape, scale):
    """Below 48 pixels, a square shape's edges on whole pixels, at least
    one pixel wide, and its corners square."""
    kind, colour, x0, y0, x1, y1, radius, smallest = shape
    if kind != "box" or scale >= 1.5:
        return shape

    def edges(a, b):
        a, b = round(a * scale), round(b * scale)
        return a / scale, max(b, a + 1) / scale

    (x0, x1), (y0, y1) = edges(x0, x1), edges(y0, y1)
    return (kind, colour, x0, y0, x1, y1, 0, smallest)


def render_handheld(size, samples=4):
    """The handheld at size by size pixels as rows of RGBA tuples: each
    shape's coverage of a pixel is measured exactly along `samples` rows
    within it, and the shapes are laid over each other in order."""
    scale = size / 32
    image = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for shape in HANDHELD:
        if size < shape[7]:
            continue
        shape = snapped(shape, scale)
        colour = shape[1]
        for py in range(size):
            cover = [0.0] * size
            for sub in range(samples):
                span = shape_span(shape, (py + (sub + 0.5) / samples) / scale)
                if not span:
                    continue
                left, right = span[0] * scale, span[1] * scale
                for px in range(max(int(left), 0), min(int(right) + 1, size)):
                    cover[px] += max(min(px + 1, right) - max(px, left), 0) / samples
            row = image[py]
            for px, a in enumerate(cover):
                if a <= 0:
                    continue
                r, g, b, da = row[px]
                out = a + da * (1 - a)
                mix = [(c * a + d * da * (1 - a)) / out for c, d in zip(colour, (r, g, b))]
                row[px] = (*mix, out)
    return image


def write_hicolor_png(path, size):
    image = render_handheld(size)

    def pixel(x, y):
        r, g, b, a = image[y][x]
        return tuple(min(255, round(v)) for v in (r, g, b)) + (round(a * 255),)

    path.parent.mkdir(parents=True, exist_ok=True)
    write_png(path, size, pixel)


def write_hicolor_svg(path):
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
             'viewBox="0 0 32 32">']
    for kind, colour, x0, y0, x1, y1, radius, _ in HANDHELD:
        fill = "#%02x%02x%02x" % colour
        if kind == "disc":
            parts.append(f'<circle cx="{(x0 + x1) / 2:g}" cy="{(y0 + y1) / 2:g}" '
                         f'r="{(x1 - x0) / 2:g}" fill="{fill}"/>')
        else:
            parts.append(f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" '
                         f'rx="{radius:g}" fill="{fill}"/>')
    parts.append("</svg>")
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text("\n".join(parts) + "\n")


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
    hicolor = ASSETS / "icons" / "hicolor"
    for size in HICOLOR_SIZES:
        write_hicolor_png(hicolor / f"{size}x{size}" / "apps" / "torvexsetup.png", size)
    write_hicolor_svg(hicolor / "scalable" / "apps" / "torvexsetup.svg")
    write_welcome(ASSETS / "welcome.jpg")
    return 0


if __name__ == "__main__":
    sys.exit(main())
