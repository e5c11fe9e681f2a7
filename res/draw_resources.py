#!/usr/bin/python3
"""Redraws the program's artwork in this folder: the maker's logo, the About artwork, the
partner logo, the hand cursor, the window icon and the partner layout document.

Run by hand after changing the artwork (needs python3-pil); the build only embeds the files
this script wrote, it never runs it.
"""
import os
import struct

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
MAKER_URL = "https://www.tessarel.com/"
MAKER_HOST = "www.tessarel.com"

GOLD = (232, 184, 74)
TEAL = (38, 166, 154)
WHITE = (245, 245, 240)
GREY = (150, 150, 150)


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def bmp_file(info_header, masks, palette, pixel_bytes):
    offset = 14 + len(info_header) + len(masks) + len(palette)
    size = offset + len(pixel_bytes)
    return struct.pack("<2sIHHI", b"BM", size, 0, 0, offset) + info_header + masks + palette + pixel_bytes


def info_header(width, height, bpp, compression, image_size, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, compression, image_size,
                       2835, 2835, colours, 0)


def rows_bottom_up(img, pack_pixel, bytes_per_pixel):
    width, height = img.size
    stride = (width * bytes_per_pixel + 3) & ~3
    px = img.load()
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            row += pack_pixel(px[x, y])
        row += bytes(stride - len(row))
        out += row
    return bytes(out)


def save_bmp24(img, name):
    pixels = rows_bottom_up(img.convert("RGB"), lambda p: bytes((p[2], p[1], p[0])), 3)
    data = bmp_file(info_header(img.width, img.height, 24, 0, len(pixels)), b"", b"", pixels)
    write(name, data)


def save_bmp565(img, name):
    def pack(p):
        r, g, b = p[:3]
        return struct.pack("<H", ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))

    pixels = rows_bottom_up(img.convert("RGB"), pack, 2)
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    data = bmp_file(info_header(img.width, img.height, 16, 3, len(pixels)), masks, b"", pixels)
    write(name, data)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def tile_mark(draw, x, y, cell):
    """The maker's mark: four rhombic tiles meeting at a point, two gold and two teal."""
    cx, cy = x + cell, y + cell
    colours = [GOLD, TEAL, GOLD, TEAL]
    quads = [
        [(cx, cy), (cx, y), (cx - cell, cy - cell // 2), (cx - cell, cy)],
        [(cx, cy), (cx, y), (cx + cell, cy - cell // 2), (cx + cell, cy)],
        [(cx, cy), (cx + cell, cy), (cx + cell, cy + cell // 2), (cx, y + 2 * cell)],
        [(cx, cy), (cx - cell, cy), (cx - cell, cy + cell // 2), (cx, y + 2 * cell)],
    ]
    for quad, colour in zip(quads, colours):
        draw.polygon(quad, fill=colour)
    draw.line([(cx, y), (cx, y + 2 * cell)], fill=(0, 0, 0), width=1)
    draw.line([(cx - cell, cy), (cx + cell, cy)], fill=(0, 0, 0), width=1)


def gradient_text(img, xy, text, fnt, top, bottom):
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).text(xy, text, font=fnt, fill=255)
    box = mask.getbbox()
    if not box:
        return
    fill = Image.new("RGB", img.size)
    fd = ImageDraw.Draw(fill)
    for y in range(box[1], box[3]):
        t = (y - box[1]) / max(1, box[3] - box[1] - 1)
        fd.line([(0, y), (img.width, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    img.paste(fill, (0, 0), mask)


def draw_logo():
    img = Image.new("RGB", (148, 42), (0, 0, 0))
    draw = ImageDraw.Draw(img)
    tile_mark(draw, 4, 5, 16)
    gradient_text(img, (44, 7), "Tessarel", font("DejaVuSans-Bold.ttf", 21), (255, 226, 150), GOLD)
    draw.line([(45, 34), (143, 34)], fill=TEAL)
    save_bmp24(img, "maker_logo.bmp")


def draw_about():
    img = Image.new("RGB", (163, 305), (0, 0, 0))
    draw = ImageDraw.Draw(img)
    for y in range(305):
        shade = int(34 * (1 - y / 305.0))
        draw.line([(0, y), (162, y)], fill=(shade // 2, shade // 2, shade))
    # Top band (rows 0-72): the maker's and the product's marks, clickable in the box.
    tile_mark(draw, 8, 6, 12)
    gradient_text(img, (40, 7), "Tessarel", font("DejaVuSans-Bold.ttf", 17), (255, 226, 150), GOLD)
    gradient_text(img, (40, 34), "Stashwell", font("DejaVuSans-Bold.ttf", 20), WHITE, (170, 210, 205))
    draw.text((41, 58), MAKER_HOST, font=font("DejaVuSans.ttf", 9), fill=TEAL)
    draw.line([(8, 72), (154, 72)], fill=GOLD)
    # A fan of picture cards: what the product shows.
    cards = [(-14, (60, 90, 140)), (-4, (140, 80, 60)), (8, (50, 120, 90))]
    for angle, colour in cards:
        card = Image.new("RGBA", (86, 66), (0, 0, 0, 0))
        cd = ImageDraw.Draw(card)
        cd.rectangle([0, 0, 85, 65], fill=WHITE)
        cd.rectangle([4, 4, 81, 50], fill=colour)
        cd.polygon([(4, 50), (30, 24), (50, 44), (62, 32), (81, 50)], fill=tuple(c // 2 for c in colour))
        cd.ellipse([60, 9, 72, 21], fill=GOLD)
        rotated = card.rotate(angle, expand=True, resample=Image.BICUBIC)
        img.paste(rotated, ((163 - rotated.width) // 2, 150 - rotated.height // 2), rotated)
    # Product line; the program writes the version line under it, at row 235.
    draw.text((12, 214), "Slideshow Viewer", font=font("DejaVuSans-Bold.ttf", 12), fill=WHITE)
    draw.line([(12, 231), (150, 231)], fill=(70, 70, 90))
    small = font("DejaVuSans.ttf", 8)
    for i, line in enumerate(["\u00a9 2026 Tessarel. All rights", "reserved. Stashwell is a", "trademark of Tessarel."]):
        draw.text((12, 262 + 11 * i), line, font=small, fill=GREY)
    save_bmp565(img, "about.bmp")


def draw_partner_logo():
    save_bmp24(Image.new("RGB", (1, 1), (0, 0, 0)), "partner_logo.bmp")


# X black, o white, . transparent; the tip of the finger is the hot spot (6, 0).
HAND = [
    "......XX..........",
    ".....XooX.........",
    ".....XooX.........",
    ".....XooX.........",
    ".....XooX.........",
    ".....XooXXX.......",
    ".....XooXooXXX....",
    ".....XooXooXooXX..",
    ".XXX.XooXooXooXoX.",
    "XoooXXooooooooXooX",
    "XooooXoooooooooooX",
    ".XoooXoooooooooooX",
    "..XooooooooooooooX",
    "..XooooooooooooooX",
    "...XoooooooooooooX",
    "...XooooooooooooX.",
    "....XoooooooooooX.",
    "....XooooooooooX..",
    ".....XoooooooooX..",
    ".....XoooooooooX..",
    ".....XXXXXXXXXXX..",
]


def mask_rows(bits_of_row):
    """1-bit rows for a 32-wide image, bottom-up, 4 bytes each."""
    out = bytearray()
    for y in reversed(range(32)):
        value = 0
        for x in range(32):
            if bits_of_row(x, y):
                value |= 1 << (31 - x)
        out += struct.pack(">I", value)
    return bytes(out)


def draw_cursor():
    def at(x, y):
        return HAND[y][x] if y < len(HAND) and x < len(HAND[y]) else "."

    header = info_header(32, 64, 1, 0, 256)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    xor = mask_rows(lambda x, y: at(x, y) == "o")
    and_mask = mask_rows(lambda x, y: at(x, y) == ".")
    image = header + palette + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, 6, 0, len(image), 22)
    write("hand.cur", directory + entry + image)


VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def draw_icon():
    img = Image.new("RGB", (32, 32), (0, 0, 0))
    draw = ImageDraw.Draw(img)
    # Two stacked slides: a landscape under a sun, framed in white.
    draw.rectangle([7, 2, 30, 21], fill=VGA[8])
    draw.rectangle([1, 8, 25, 29], fill=VGA[15])
    draw.rectangle([3, 10, 23, 25], fill=VGA[4])
    draw.ellipse([15, 11, 20, 16], fill=VGA[11])
    draw.polygon([(3, 25), (10, 15), (15, 21), (18, 18), (23, 25)], fill=VGA[2])
    draw.line([(10, 15), (12, 18)], fill=VGA[10])
    opaque = Image.new("1", (32, 32), 0)
    od = ImageDraw.Draw(opaque)
    od.rectangle([7, 2, 30, 21], fill=1)
    od.rectangle([1, 8, 25, 29], fill=1)
    px = img.load()

    def index(x, y):
        p = px[x, y]
        return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(p, VGA[i])))

    xor = bytearray()
    for y in reversed(range(32)):
        for x in range(0, 32, 2):
            xor.append((index(x, y) << 4) | index(x + 1, y))
    op = opaque.load()
    and_mask = mask_rows(lambda x, y: not op[x, y])
    header = info_header(32, 64, 4, 0, len(xor) + len(and_mask))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA)
    image = header + palette + bytes(xor) + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22)
    write("slideshow.ico", directory + entry + image)


def write_partner_layout():
    def region(name, values):
        lines = ['\t\t<region id="%s">' % name]
        for kind, value in zip(["top", "left", "right", "bottom"], values):
            lines.append('\t\t\t<position type="%s">%d</position>' % (kind, value))
        lines.append("\t\t</region>")
        return lines

    lines = ['<?xml version="1.0" encoding="ISO-8859-1"?>', "", "<positions_list>",
             '\t<partner id="TESSAREL" name="Tessarel" url="%s">' % MAKER_URL]
    lines += region("about_stashwell", [0, 0, 0, 73])
    lines += region("about_partner", [0, 0, 0, 0])
    lines += ["\t</partner>", "</positions_list>", ""]
    write("partner_layout.xml", ("\r\n".join(lines) + "\r\n").encode("iso-8859-1"))


if __name__ == "__main__":
    draw_logo()
    draw_about()
    draw_partner_logo()
    draw_cursor()
    draw_icon()
    write_partner_layout()
