#!/usr/bin/python3
"""Draws the demo collection's pictures into demo/pictures: imaginary landscapes, seas,
night skies and a few abstract studies, in several sizes and both orientations. None of them
looks the same turned upside down or mirrored (skies at the top, light from one side).

Run by hand (needs python3-pil); the build packs the files this script wrote.
"""
import math
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")


def mix(a, b, t):
    return tuple(int(x + (y - x) * t) for x, y in zip(a, b))


def vertical_gradient(size, stops):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            (t0, c0), (t1, c1) = stops[i], stops[i + 1]
            if t0 <= t <= t1:
                d.line([(0, y), (w, y)], fill=mix(c0, c1, (t - t0) / max(1e-6, t1 - t0)))
                break
    return img


def ridge(rng, w, base, amplitude, roughness):
    """A mountain silhouette by midpoint displacement."""
    n = 1
    points = [base + rng.uniform(-amplitude, amplitude), base + rng.uniform(-amplitude, amplitude)]
    a = amplitude
    while n < w // 4:
        new = []
        for i in range(len(points) - 1):
            new += [points[i], (points[i] + points[i + 1]) / 2 + rng.uniform(-a, a)]
        new.append(points[-1])
        points = new
        n *= 2
        a *= roughness
    step = w / (len(points) - 1)
    return [(i * step, y) for i, y in enumerate(points)]


def grain(img, amount):
    noise = Image.effect_noise(img.size, amount).convert("RGB")
    return ImageChops.add(ImageChops.subtract(img, Image.new("RGB", img.size, (16, 16, 16))), noise, 1.0, -112)


def landscape(seed, size, sky, sun, layers):
    rng = random.Random(seed)
    w, h = size
    img = vertical_gradient(size, sky)
    d = ImageDraw.Draw(img)
    sx, sy, sr = sun
    if sr:
        glow = Image.new("L", size, 0)
        ImageDraw.Draw(glow).ellipse([sx * w - sr * 3, sy * h - sr * 3, sx * w + sr * 3, sy * h + sr * 3], fill=90)
        img.paste((255, 230, 180), (0, 0), glow.filter(ImageFilter.GaussianBlur(sr)))
        d.ellipse([sx * w - sr, sy * h - sr, sx * w + sr, sy * h + sr], fill=(255, 240, 200))
    for base, amplitude, colour in layers:
        line = ridge(rng, w, base * h, amplitude * h, 0.55)
        d.polygon(line + [(w, h), (0, h)], fill=colour)
    return grain(img.filter(ImageFilter.GaussianBlur(0.6)), 18)


def sea(seed, size, sky, water):
    rng = random.Random(seed)
    w, h = size
    img = vertical_gradient(size, sky)
    d = ImageDraw.Draw(img)
    horizon = int(h * 0.55)
    for y in range(horizon, h):
        t = (y - horizon) / (h - horizon)
        d.line([(0, y), (w, y)], fill=mix(water[0], water[1], t))
    for _ in range(w // 3):
        y = rng.uniform(horizon, h)
        x = rng.uniform(0, w)
        length = (y - horizon) / (h - horizon) * 60 + 6
        d.line([(x, y), (x + length, y)], fill=mix(water[0], (255, 255, 255), 0.35), width=1)
    for _ in range(3):
        x = rng.uniform(0.1, 0.9) * w
        y = horizon - rng.uniform(4, 14)
        d.polygon([(x, y), (x + 18, y + 10), (x - 18, y + 10)], fill=(250, 250, 245))
    return grain(img.filter(ImageFilter.GaussianBlur(0.5)), 14)


def night(seed, size):
    rng = random.Random(seed)
    w, h = size
    img = vertical_gradient(size, [(0, (4, 6, 24)), (0.7, (20, 30, 70)), (1, (60, 50, 90))])
    d = ImageDraw.Draw(img)
    for _ in range(w * h // 900):
        x, y = rng.uniform(0, w), rng.uniform(0, h * 0.8)
        b = rng.randint(120, 255)
        d.point((x, y), fill=(b, b, min(255, b + 20)))
    d.ellipse([w * 0.7, h * 0.12, w * 0.7 + 60, h * 0.12 + 60], fill=(240, 240, 215))
    line = ridge(rng, w, h * 0.82, h * 0.06, 0.6)
    d.polygon(line + [(w, h), (0, h)], fill=(8, 10, 16))
    return img


def study(seed, size, palette):
    rng = random.Random(seed)
    w, h = size
    img = vertical_gradient(size, [(0, palette[0]), (1, palette[1])])
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    for _ in range(28):
        colour = rng.choice(palette[2:]) + (rng.randint(70, 170),)
        x, y, r = rng.uniform(0, w), rng.uniform(0, h), rng.uniform(20, min(w, h) / 4)
        if rng.random() < 0.5:
            d.ellipse([x - r, y - r, x + r, y + r], fill=colour)
        else:
            a = rng.uniform(0, math.pi)
            d.polygon([(x + r * math.cos(a + k * 2.1), y + r * math.sin(a + k * 2.1)) for k in range(3)], fill=colour)
    img.paste(layer, (0, 0), layer)
    return grain(img, 10)


def coin(seed, size, metal):
    rng = random.Random(seed)
    w, h = size
    img = vertical_gradient(size, [(0, (30, 24, 20)), (1, (8, 6, 5))])
    r = min(w, h) * 0.38
    cx, cy = w / 2, h / 2
    # Lit from the upper left: the coin's shadow falls to the lower right, its shine sits
    # towards the upper left, so a picture turned or mirrored by mistake shows at once.
    shadow = Image.new("L", size, 0)
    ImageDraw.Draw(shadow).ellipse([cx - r * 0.9, cy - r * 0.86, cx + r * 1.14, cy + r * 1.18], fill=170)
    img.paste((0, 0, 0), (0, 0), shadow.filter(ImageFilter.GaussianBlur(r * 0.08)))
    d = ImageDraw.Draw(img)
    for k in range(int(r), 0, -1):
        t = 1 - k / r
        ox, oy = cx - t * r * 0.35, cy - t * r * 0.35
        d.ellipse([ox - k, oy - k, ox + k, oy + k], fill=mix(metal, (255, 255, 230), t ** 2 * 0.6))
    d.ellipse([cx - r * 0.86, cy - r * 0.86, cx + r * 0.86, cy + r * 0.86], outline=mix(metal, (0, 0, 0), 0.4), width=3)
    for i in range(48):
        a = i * math.pi / 24
        d.line([(cx + r * 0.9 * math.cos(a), cy + r * 0.9 * math.sin(a)),
                (cx + r * math.cos(a), cy + r * math.sin(a))], fill=mix(metal, (0, 0, 0), 0.5))
    for _ in range(6):
        a = rng.uniform(0, 2 * math.pi)
        d.arc([cx - r * 0.5, cy - r * 0.5, cx + r * 0.5, cy + r * 0.5], math.degrees(a), math.degrees(a) + 70,
              fill=mix(metal, (0, 0, 0), 0.45), width=4)
    return grain(img.filter(ImageFilter.GaussianBlur(0.7)), 12)


DUSK = [(0, (40, 40, 90)), (0.45, (220, 120, 90)), (0.6, (250, 190, 120)), (1, (250, 200, 140))]
NOON = [(0, (70, 130, 210)), (0.6, (170, 210, 240)), (1, (200, 225, 245))]
DAWN = [(0, (90, 110, 170)), (0.5, (230, 170, 170)), (1, (250, 220, 190))]
STORM = [(0, (50, 55, 65)), (0.6, (110, 115, 125)), (1, (150, 150, 150))]

PICTURES = [
    ("01-valley-at-dusk.jpg", (1200, 800), lambda: landscape(1, (1200, 800), DUSK, (0.7, 0.42, 40),
        [(0.55, 0.10, (90, 60, 90)), (0.7, 0.08, (55, 40, 70)), (0.85, 0.05, (25, 20, 35))])),
    ("02-alpine-noon.jpg", (1024, 768), lambda: landscape(2, (1024, 768), NOON, (0.2, 0.15, 25),
        [(0.45, 0.15, (150, 160, 185)), (0.62, 0.10, (70, 110, 80)), (0.82, 0.05, (40, 80, 45))])),
    ("03-harbour.jpg", (1100, 700), lambda: sea(3, (1100, 700), DAWN, [(110, 130, 170), (40, 60, 100)])),
    ("04-night-ridge.jpg", (900, 1200), lambda: night(4, (900, 1200))),
    ("05-bronze-coin.jpg", (800, 800), lambda: coin(5, (800, 800), (170, 110, 50))),
    ("06-silver-coin.jpg", (700, 700), lambda: coin(6, (700, 700), (180, 185, 190))),
    ("07-study-in-red.jpg", (800, 1000), lambda: study(7, (800, 1000), [(60, 10, 10), (20, 0, 0), (230, 80, 60), (250, 180, 80), (140, 20, 40)])),
    ("08-study-in-blue.jpg", (1000, 800), lambda: study(8, (1000, 800), [(10, 20, 60), (0, 0, 20), (60, 140, 220), (160, 220, 250), (30, 60, 160)])),
    ("09-storm-coast.jpg", (1280, 720), lambda: sea(9, (1280, 720), STORM, [(90, 100, 105), (30, 40, 45)])),
    ("10-high-plateau.jpg", (1280, 640), lambda: landscape(10, (1280, 640), DAWN, (0.5, 0.5, 30),
        [(0.62, 0.04, (150, 120, 110)), (0.78, 0.03, (110, 85, 80))])),
    ("11-fjord.jpg", (768, 1024), lambda: landscape(11, (768, 1024), NOON, (0, 0, 0),
        [(0.35, 0.18, (90, 100, 120)), (0.55, 0.12, (50, 70, 60)), (0.9, 0.02, (60, 90, 130))])),
    ("12-gold-coin.jpg", (640, 640), lambda: coin(12, (640, 640), (210, 170, 60))),
    ("13-sunrise-lake.jpg", (1200, 900), lambda: sea(13, (1200, 900), DUSK, [(200, 130, 110), (60, 50, 80)])),
    ("14-desert-dunes.jpg", (1200, 600), lambda: landscape(14, (1200, 600), [(0, (120, 170, 220)), (1, (240, 220, 190))], (0.8, 0.2, 28),
        [(0.6, 0.05, (220, 170, 110)), (0.72, 0.04, (200, 140, 80)), (0.86, 0.03, (170, 110, 60))])),
    ("15-winter-range.jpg", (1024, 683), lambda: landscape(15, (1024, 683), [(0, (160, 180, 210)), (1, (230, 235, 240))], (0, 0, 0),
        [(0.4, 0.14, (235, 238, 245)), (0.6, 0.10, (190, 200, 215)), (0.8, 0.06, (120, 130, 150))])),
    ("16-study-in-green.jpg", (900, 900), lambda: study(16, (900, 900), [(10, 40, 20), (0, 10, 5), (80, 180, 90), (200, 230, 120), (30, 100, 60)])),
    ("17-tower-by-night.jpg", (600, 1000), lambda: night(17, (600, 1000))),
    ("18-copper-token.jpg", (720, 720), lambda: coin(18, (720, 720), (190, 100, 60))),
    ("19-autumn-hills.jpg", (1100, 825), lambda: landscape(19, (1100, 825), DUSK, (0.3, 0.35, 30),
        [(0.5, 0.08, (150, 80, 50)), (0.66, 0.06, (120, 60, 30)), (0.84, 0.04, (70, 35, 20))])),
    ("20-grey-morning.jpg", (960, 720), lambda: sea(20, (960, 720), STORM, [(140, 150, 155), (70, 80, 85)])),
    ("21-rose-window.png", (600, 600), lambda: study(21, (600, 600), [(40, 10, 40), (10, 0, 10), (220, 90, 160), (250, 200, 230), (120, 40, 140)])),
    ("22-evening-meadow.jpg", (1000, 750), lambda: landscape(22, (1000, 750), DAWN, (0.4, 0.45, 34),
        [(0.62, 0.05, (80, 110, 60)), (0.8, 0.03, (50, 80, 40))])),
]


def draw_placeholder():
    """A 48 x 48 placeholder with soft edges: an empty frame with a question mark."""
    img = Image.new("RGBA", (48, 48), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([2, 2, 45, 45], radius=8, fill=(60, 70, 90, 200), outline=(200, 200, 210, 255), width=2)
    d.text((17, 12), "?", fill=(250, 220, 120, 255))
    img.save(os.path.join(os.path.dirname(HERE), "placeholder.png"))


if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    for name, _, draw in PICTURES:
        img = draw()
        path = os.path.join(HERE, name)
        if name.endswith(".png"):
            img.save(path, optimize=True)
        else:
            img.save(path, quality=80, optimize=True, progressive=name.startswith("04"))
    draw_placeholder()
