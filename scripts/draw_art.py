# Usage: /usr/bin/python3 scripts/draw_art.py   (needs Pillow: apt-get install python3-pil; writes the four images into res/)
import os, struct
from PIL import Image, ImageDraw, ImageFilter, ImageFont

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')
FONTS = '/usr/share/fonts/truetype/dejavu/'
NAVY_TOP, NAVY_BOTTOM = (20, 40, 78), (44, 74, 118)
GLOW = (120, 160, 210)
GOLD = (200, 158, 64)


def font(size, bold=False):
    return ImageFont.truetype(FONTS + ('DejaVuSans-Bold.ttf' if bold else 'DejaVuSans.ttf'), size)


def gradient(size, top, bottom, horizontal=False):
    """An RGB image shading from `top` to `bottom` (or left to right)."""
    ramp = Image.linear_gradient('L')
    if horizontal:
        ramp = ramp.rotate(90, expand=True)
    return Image.composite(Image.new('RGB', size, bottom), Image.new('RGB', size, top), ramp.resize(size))


def fill(canvas, mask, top, bottom, horizontal=False):
    """Paint `mask` onto an RGBA canvas with a two-colour gradient."""
    canvas.paste(gradient(canvas.size, top, bottom, horizontal), (0, 0), mask)


def mask_of(size, draw_fn):
    m = Image.new('L', size, 0)
    draw_fn(ImageDraw.Draw(m))
    return m


def padlock(w, h, ss=8):
    """A brass padlock with a steel shackle, rendered supersampled, returned as RGBA w x h."""
    W, H = w * ss, h * ss
    out = max(1, round(W * 0.035))                      # outline thickness
    img = Image.new('RGBA', (W, H), (0, 0, 0, 0))
    # Shackle: a thick inverted U whose legs disappear into the body.
    sx0, sx1, st = W * 0.20, W * 0.80, W * 0.13
    shackle = mask_of((W, H), lambda d: (
        d.rounded_rectangle((sx0, out, sx1, H * 0.62), radius=(sx1 - sx0) / 2, fill=255),
        d.rounded_rectangle((sx0 + st, out + st, sx1 - st, H * 0.70), radius=(sx1 - sx0) / 2 - st, fill=0)))
    # Body: a rounded block in the lower part.
    by0 = H * 0.42
    body = mask_of((W, H), lambda d: d.rounded_rectangle(
        (out, by0, W - 1 - out, H - 1 - out), radius=W * 0.12, fill=255))
    both = Image.composite(shackle, body, shackle)
    grow = out * 2 + 1
    fill(img, both.filter(ImageFilter.MaxFilter(grow)), (16, 20, 30), (16, 20, 30))   # dark outline
    fill(img, shackle, (236, 240, 246), (120, 132, 150), horizontal=True)             # steel shackle
    shine = shackle.filter(ImageFilter.MinFilter(grow)).point(lambda v: v // 2)
    shine.paste(0, (int(W * 0.42), 0, W, H))                                            # left-side shine only
    fill(img, shine, (255, 255, 255), (255, 255, 255))
    fill(img, body, (252, 222, 128), (176, 122, 30))                                    # brass body
    shine = mask_of((W, H), lambda d: d.rounded_rectangle(
        (out * 3, by0 + out * 2, W - 1 - out * 3, by0 + (H - by0) * 0.30), radius=W * 0.08, fill=110))
    fill(img, shine, (255, 250, 225), (255, 250, 225))
    # Keyhole: a round head and a tapering slot.
    cx, cy, r = W / 2, by0 + (H - by0) * 0.45, W * 0.09
    hole = mask_of((W, H), lambda d: (
        d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=255),
        d.polygon([(cx - r * 0.45, cy), (cx + r * 0.45, cy), (cx + r * 0.8, cy + r * 2.6),
                   (cx - r * 0.8, cy + r * 2.6)], fill=255)))
    fill(img, hole, (40, 28, 8), (70, 50, 14))
    return img.resize((w, h), Image.Resampling.LANCZOS)


def keycap(w, h, ss=8):
    """A light-grey keyboard key seen from slightly above, marked 'A', returned as RGBA w x h."""
    W, H = w * ss, h * ss
    out = max(1, round(W * 0.04))
    img = Image.new('RGBA', (W, H), (0, 0, 0, 0))
    base = (out, H * 0.10, W - 1 - out, H - 1 - out)
    skirt = mask_of((W, H), lambda d: d.rounded_rectangle(base, radius=W * 0.14, fill=255))
    fill(img, skirt.filter(ImageFilter.MaxFilter(out * 2 + 1)), (40, 40, 44), (40, 40, 44))
    fill(img, skirt, (196, 194, 186), (120, 118, 112))
    top = mask_of((W, H), lambda d: d.rounded_rectangle(
        (W * 0.16, H * 0.14, W * 0.84, H * 0.74), radius=W * 0.10, fill=255))
    fill(img, top.filter(ImageFilter.MaxFilter(out + 1)), (150, 148, 140), (150, 148, 140))
    fill(img, top, (252, 252, 248), (214, 212, 204))
    d = ImageDraw.Draw(img)
    d.text((W * 0.50, H * 0.445), 'A', font=font(int(H * 0.40), bold=True), fill=(60, 64, 76), anchor='mm')
    return img.resize((w, h), Image.Resampling.LANCZOS)


def shadowed(canvas, sprite, pos, blur=2, offset=(2, 2), strength=110):
    """Paste an RGBA sprite onto an RGB canvas with a soft drop shadow."""
    pad = blur * 3
    shadow = Image.new('L', (sprite.width + pad * 2, sprite.height + pad * 2), 0)
    shadow.paste(sprite.getchannel('A').point(lambda a: a * strength // 255), (pad, pad))
    shadow = shadow.filter(ImageFilter.GaussianBlur(blur))
    canvas.paste((0, 0, 12), (pos[0] - pad + offset[0], pos[1] - pad + offset[1]), shadow)
    canvas.paste(sprite, pos, sprite)


def glow(canvas, center, radius, strength=70):
    """Brighten the background softly around `center` (kept inside the given ellipse)."""
    rx, ry = radius
    # radial_gradient() is 0 at the centre and 181 on the inscribed circle; fade smoothly to 0 there.
    g = Image.radial_gradient('L').resize((rx * 2, ry * 2)).point(
        lambda v: int(strength * max(0.0, 1 - v / 181) ** 2))
    canvas.paste(GLOW, (center[0] - rx, center[1] - ry), g)


def text(canvas, xy, s, fnt, colour, anchor='ls'):
    """Draw text with a one-pixel dark shadow."""
    d = ImageDraw.Draw(canvas)
    d.text((xy[0] + 1, xy[1] + 1), s, font=fnt, fill=(8, 16, 34), anchor=anchor)
    d.text(xy, s, font=fnt, fill=colour, anchor=anchor)


def banner_background(size):
    bg = gradient(size, NAVY_TOP, NAVY_BOTTOM)
    d = ImageDraw.Draw(bg)
    d.line((0, size[1] - 2, size[0], size[1] - 2), fill=GOLD)        # thin brass rule
    d.line((0, size[1] - 1, size[0], size[1] - 1), fill=(12, 24, 48))
    return bg


def panel_banner():
    bg = banner_background((433, 104))
    shade = gradient((433, 104), (0, 0, 0), (90, 90, 90), horizontal=True)   # lighter towards the right
    bg = Image.composite(Image.new('RGB', bg.size, (80, 112, 156)), bg, shade.convert('L'))
    glow(bg, (52, 51), (80, 64), strength=80)
    shadowed(bg, padlock(56, 72), (24, 14), blur=3, offset=(3, 3))
    text(bg, (100, 53), 'Vellmoran', font(36, bold=True), (255, 255, 255))
    ImageDraw.Draw(bg).line((101, 63, 400, 63), fill=(110, 140, 186))
    text(bg, (102, 83), 'Screen Lock  \u00b7  Control Panel', font(13), (200, 216, 236))
    text(bg, (411, 83), 'v1.02', font(11), (160, 182, 212), anchor='rs')
    return bg


WIZARD_PAGES = [
    ('Activation', 'Lock when the screensaver starts'),
    ('Activation Key', 'The key that locks the screen'),
    ('Sensitivity', 'Lock by wiping the mouse\nacross the screen'),
    ('Password and Image', 'Protect the lock with a password'),
]


def wizard_banner():
    page = 290
    bg = banner_background((page * 4 + 9, 90))
    lock = padlock(30, 39)
    title_font, sub_font = font(18, bold=True), font(11)
    for k, (title, subtitle) in enumerate(WIZARD_PAGES):
        x = page * k
        glow(bg, (x + 30, 44), (40, 40), strength=80)
        shadowed(bg, lock, (x + 15, 25))
        text(bg, (x + 58, 43), title, title_font, (255, 255, 255))
        for i, line in enumerate(subtitle.split('\n')):
            text(bg, (x + 59, 62 + 14 * i), line, sub_font, (200, 216, 236))
    return bg


def write_ico(path, sprite):
    """Write a 32x32, 256-colour ICO with one image and a 1-bit AND mask."""
    w, h = sprite.size
    opaque = sprite.getchannel('A').point(lambda a: 255 if a >= 128 else 0)
    rgb = Image.new('RGB', sprite.size, (0, 0, 0))
    rgb.paste(sprite.convert('RGB'), (0, 0), opaque)
    q = rgb.quantize(colors=255, dither=Image.Dither.NONE)
    pal = (q.getpalette()[:255 * 3] + [0] * 765)[:255 * 3] + [0, 0, 0]   # index 255 = black
    px, op = q.load(), opaque.load()
    xor, andm = bytearray(), bytearray()
    for y in range(h - 1, -1, -1):                       # bottom-up rows
        xor += bytes(px[x, y] if op[x, y] else 255 for x in range(w))
        bits = 0
        for x in range(w):
            bits = (bits << 1) | (0 if op[x, y] else 1)
        andm += bits.to_bytes(w // 8, 'big') + bytes((-(w // 8)) % 4)
    palette = b''.join(bytes((pal[i * 3 + 2], pal[i * 3 + 1], pal[i * 3], 0)) for i in range(256))
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 8, 0, len(xor) + len(andm), 0, 0, 256, 0)
    image = header + palette + bytes(xor) + bytes(andm)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', w, h, 0, 0, 1, 8, len(image), 22))
        f.write(image)


if __name__ == '__main__':
    os.makedirs(RES, exist_ok=True)
    panel_banner().save(os.path.join(RES, 'banner_panel.bmp'))
    wizard_banner().save(os.path.join(RES, 'banner_wizard.bmp'))
    write_ico(os.path.join(RES, 'app.ico'), padlock(26, 32).crop((-3, 0, 29, 32)))
    write_ico(os.path.join(RES, 'key.ico'), keycap(32, 30).crop((0, -1, 32, 31)))
