#!/usr/bin/env python3
"""Write the bundled sample comic examples/sample/ (script and media).

Run from anywhere:  python3 examples/tools/make_sample.py [--verify]

Everything is generated here with the standard library only: the comic
script (CP932, CR LF), four BMP pictures, one 16-colour MAG picture, a WAV
chime and a MIDI tune.  The output is byte-for-byte the same on every run.
With --verify the checks of check_sample.py run on the written files.
"""

import math
import struct
import sys
from pathlib import Path

EXAMPLES = Path(__file__).resolve().parent.parent
SAMPLE_DIR = EXAMPLES / "sample"
DATA_DIR = SAMPLE_DIR / "data"
SCRIPT_NAME = "Sample.csf"


# ---------------------------------------------------------------------------
# Indexed-colour canvas and drawing primitives (integer geometry only, so the
# pictures do not depend on the platform's floating-point library)
# ---------------------------------------------------------------------------

class Canvas:
    """A picture of palette indices, rows top to bottom."""

    def __init__(self, width, height, colours):
        self.width = width
        self.height = height
        self.palette = list(colours.values())          # [(r, g, b)]
        self.ink = {name: i for i, name in enumerate(colours)}
        self.pixels = bytearray(width * height)

    def put(self, x, y, name):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = self.ink[name]

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def rect(self, x0, y0, x1, y1, name):
        """Fill the half-open rectangle [x0, x1) x [y0, y1)."""
        c = self.ink[name]
        for y in range(max(y0, 0), min(y1, self.height)):
            row = y * self.width
            for x in range(max(x0, 0), min(x1, self.width)):
                self.pixels[row + x] = c

    def ellipse(self, cx, cy, rx, ry, name, part=None):
        """Fill an ellipse; part 'upper' or 'lower' keeps one half only."""
        limit = rx * rx * ry * ry
        for y in range(cy - ry, cy + ry + 1):
            if (part == "upper" and y > cy) or (part == "lower" and y < cy):
                continue
            for x in range(cx - rx, cx + rx + 1):
                if (x - cx) ** 2 * ry * ry + (y - cy) ** 2 * rx * rx <= limit:
                    self.put(x, y, name)

    def ring(self, cx, cy, rx, ry, thickness, name, part=None):
        """Draw an elliptical outline of the given thickness."""
        outer = rx * rx * ry * ry
        irx, iry = rx - thickness, ry - thickness
        inner = irx * irx * iry * iry
        for y in range(cy - ry, cy + ry + 1):
            if (part == "upper" and y > cy) or (part == "lower" and y < cy):
                continue
            for x in range(cx - rx, cx + rx + 1):
                dx2, dy2 = (x - cx) ** 2, (y - cy) ** 2
                inside_outer = dx2 * ry * ry + dy2 * rx * rx <= outer
                inside_inner = dx2 * iry * iry + dy2 * irx * irx < inner
                if inside_outer and not inside_inner:
                    self.put(x, y, name)

    def disc(self, cx, cy, r, name):
        self.ellipse(cx, cy, r, r, name)

    def polygon(self, points, name):
        """Fill a polygon by scanlines through the pixel centres."""
        ys = [p[1] for p in points]
        edges = list(zip(points, points[1:] + points[:1]))
        for y in range(max(min(ys), 0), min(max(ys) + 1, self.height)):
            yc = y + 0.5
            xs = sorted(x0 + (yc - y0) * (x1 - x0) / (y1 - y0)
                        for (x0, y0), (x1, y1) in edges
                        if (y0 <= yc < y1) or (y1 <= yc < y0))
            for left, right in zip(xs[0::2], xs[1::2]):
                for x in range(math.ceil(left - 0.5), math.ceil(right - 0.5)):
                    self.put(x, y, name)

    def line(self, x0, y0, x1, y1, name, width=1):
        """Draw a line as a row of small squares of the given width."""
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        half = width // 2
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i // steps
            y = y0 + (y1 - y0) * i // steps
            self.rect(x - half, y - half, x - half + width, y - half + width, name)

    def rounded_rect(self, x0, y0, x1, y1, r, name):
        self.rect(x0 + r, y0, x1 - r, y1, name)
        self.rect(x0, y0 + r, x1, y1 - r, name)
        for cx, cy in ((x0 + r, y0 + r), (x1 - r - 1, y0 + r),
                       (x0 + r, y1 - r - 1), (x1 - r - 1, y1 - r - 1)):
            self.disc(cx, cy, r, name)


def blend(a, b, step, steps):
    """Colour step/steps of the way from a to b."""
    return tuple(a[i] + (b[i] - a[i]) * step // steps for i in range(3))


def cloud(cv, cx, cy):
    cv.ellipse(cx + 2, cy + 6, 34, 10, "cloudshade")
    for dx, dy, rx, ry in ((-18, 2, 16, 10), (0, -4, 18, 14), (18, 2, 16, 10)):
        cv.ellipse(cx + dx, cy + dy, rx, ry, "white")


# ---------------------------------------------------------------------------
# The pictures of the sample
# ---------------------------------------------------------------------------

SKY_SHADES = 24


def draw_sky():
    """320x240: morning sky with the sun, clouds and green hills."""
    colours = {f"sky{i}": blend((40, 100, 200), (200, 232, 255), i, SKY_SHADES - 1)
               for i in range(SKY_SHADES)}
    colours.update(white=(255, 255, 255), cloudshade=(214, 222, 236),
                   sunglow=(255, 240, 160), sun=(255, 214, 40), ray=(250, 160, 40),
                   hill=(110, 190, 80), hillfar=(80, 160, 90), tuft=(50, 120, 50),
                   wall=(245, 235, 205), roof=(200, 50, 40))
    cv = Canvas(320, 240, colours)
    for y in range(cv.height):
        cv.rect(0, y, cv.width, y + 1, f"sky{y * SKY_SHADES // cv.height}")
    draw_sun(cv, 246, 62)
    cloud(cv, 70, 50)
    cloud(cv, 160, 100)
    cv.ellipse(80, 300, 200, 110, "hillfar")
    cv.rect(62, 182, 82, 192, "wall")                       # far-off house
    cv.polygon([(58, 183), (72, 172), (86, 183)], "roof")
    cv.ellipse(260, 330, 230, 120, "hill")
    for x, y in ((150, 226), (200, 218), (250, 230), (290, 221)):
        cv.polygon([(x - 4, y + 6), (x, y - 4), (x + 4, y + 6)], "tuft")
    return cv


def draw_sun(cv, cx, cy):
    d = 7071  # 1/sqrt(2), in ten-thousandths, for the diagonal rays
    for ux, uy in ((10000, 0), (d, d), (0, 10000), (-d, d),
                   (-10000, 0), (-d, -d), (0, -10000), (d, -d)):
        cv.line(cx + ux * 34 // 10000, cy + uy * 34 // 10000,
                cx + ux * 48 // 10000, cy + uy * 48 // 10000, "ray", 3)
    cv.disc(cx, cy, 29, "sunglow")
    cv.disc(cx, cy, 24, "sun")


def draw_house():
    """320x240: a small house with a red roof on the hilltop, a tree beside it."""
    colours = dict(sky=(150, 205, 250), white=(255, 255, 255), cloudshade=(214, 222, 236),
                   sun=(255, 214, 40), grass=(110, 190, 80), grassdark=(70, 150, 60),
                   trunk=(120, 80, 40), leaves=(40, 130, 60), leaveslight=(80, 170, 80),
                   wall=(245, 235, 205), walldark=(215, 200, 165), roof=(200, 50, 40),
                   roofdark=(150, 30, 30), chimney=(160, 90, 70), door=(130, 80, 40),
                   knob=(250, 210, 60), glass=(170, 220, 250), path=(225, 205, 160),
                   red=(230, 50, 60), yellow=(250, 220, 50))
    cv = Canvas(320, 240, colours)
    cv.rect(0, 0, 320, 240, "sky")
    cv.disc(290, 30, 16, "sun")
    cloud(cv, 60, 40)
    cv.ellipse(160, 300, 260, 120, "grass")
    cv.ellipse(160, 310, 250, 110, "grassdark")
    cv.ellipse(160, 318, 250, 112, "grass")
    draw_tree(cv, 40, 120)
    draw_house_body(cv)
    cv.polygon([(150, 190), (178, 190), (204, 240), (124, 240)], "path")
    for i, x in enumerate(range(106, 228, 10)):
        if not 146 <= x <= 182:
            cv.line(x, 192, x, 198, "grassdark")
            cv.disc(x, 191, 3, "red" if i % 2 else "yellow")
    return cv


def draw_tree(cv, x, y):
    cv.rect(x - 7, y, x + 7, y + 68, "trunk")
    cv.ellipse(x, y - 18, 34, 40, "leaves")
    cv.ellipse(x - 10, y - 30, 14, 16, "leaveslight")


def draw_house_body(cv):
    cv.rect(196, 62, 212, 100, "chimney")
    cv.rect(194, 58, 214, 64, "roofdark")
    cv.rect(100, 110, 230, 190, "wall")
    cv.rect(212, 110, 230, 190, "walldark")
    cv.polygon([(86, 116), (165, 56), (244, 116)], "roof")
    cv.rect(86, 112, 244, 118, "roofdark")
    cv.rect(150, 140, 178, 190, "door")
    cv.disc(172, 166, 2, "knob")
    for wx in (112, 188):
        cv.rect(wx, 128, wx + 28, 156, "white")
        cv.rect(wx + 2, 130, wx + 26, 154, "glass")
        cv.rect(wx + 13, 130, wx + 15, 154, "white")
        cv.rect(wx + 2, 141, wx + 26, 143, "white")


def draw_haru():
    """160x160: Haru, an old lady with a bun and round glasses.

    The background is the key colour magenta; the bottom-left pixel carries it
    so that the picture can be shown with an automatic transparent colour.
    """
    colours = dict(key=(255, 0, 255), hair=(190, 190, 200), hairlight=(225, 225, 232),
                   skin=(250, 215, 180), skindark=(225, 170, 130), cheek=(245, 160, 160),
                   line=(90, 60, 50), mouth=(190, 80, 70), kimono=(120, 70, 160),
                   collar=(255, 255, 255))
    cv = Canvas(160, 160, colours)
    cv.rect(0, 0, 160, 160, "key")
    cv.rect(72, 110, 88, 126, "skin")                                 # neck
    cv.polygon([(28, 160), (44, 122), (116, 122), (132, 160)], "kimono")
    cv.polygon([(62, 122), (80, 150), (98, 122)], "collar")
    cv.polygon([(69, 122), (80, 139), (91, 122)], "skin")
    cv.ellipse(80, 68, 50, 48, "hair")
    cv.disc(80, 20, 17, "hair")
    cv.ellipse(74, 15, 7, 5, "hairlight")
    cv.ellipse(80, 78, 40, 46, "skin")
    cv.ellipse(80, 40, 38, 14, "hair")
    draw_haru_face(cv)
    return cv


def draw_haru_face(cv):
    for ex in (64, 96):
        cv.ring(ex, 82, 6, 5, 2, "line", part="upper")      # smiling closed eyes
        cv.ring(ex, 80, 13, 11, 2, "line")                   # glasses
        cv.ellipse(ex - 8 if ex < 80 else ex + 8, 98, 7, 4, "cheek")
    cv.line(77, 78, 83, 78, "line", 2)
    cv.ellipse(80, 91, 2, 3, "skindark")
    cv.ring(80, 101, 10, 7, 2, "mouth", part="lower")


def draw_button():
    """96x64: a tea button, two states stacked (normal on top, mouse over below)."""
    colours = dict(key=(255, 0, 255), border=(150, 100, 50), face=(250, 240, 215),
                   borderhot=(230, 120, 20), facehot=(255, 230, 120), cup=(255, 255, 255),
                   cupline=(120, 120, 130), tea=(170, 110, 50), steam=(160, 160, 170))
    cv = Canvas(96, 64, colours)
    cv.rect(0, 0, 96, 64, "key")
    for top, border, face in ((0, "border", "face"), (32, "borderhot", "facehot")):
        cv.rounded_rect(1, top + 1, 95, top + 31, 7, border)
        cv.rounded_rect(3, top + 3, 93, top + 29, 5, face)
        draw_teacup(cv, 46, top)
    return cv


def draw_teacup(cv, cx, top):
    cv.ellipse(cx + 1, top + 25, 17, 3, "cupline")                   # saucer
    cv.ring(cx + 12, top + 16, 5, 4, 2, "cupline")                  # handle
    cv.ellipse(cx, top + 16, 11, 8, "cupline", part="lower")
    cv.rect(cx - 11, top + 11, cx + 12, top + 17, "cupline")
    cv.ellipse(cx, top + 16, 9, 6, "cup", part="lower")
    cv.rect(cx - 9, top + 12, cx + 10, top + 17, "cup")
    cv.ellipse(cx, top + 12, 9, 2, "tea")
    for sx in (cx - 4, cx + 3):
        cv.line(sx, top + 4, sx + 2, top + 7, "steam")
        cv.line(sx + 2, top + 7, sx, top + 9, "steam")


GARDEN_COLOURS = dict(
    black=(0, 0, 0), sky=(120, 190, 250), white=(255, 255, 255), yellow=(255, 220, 40),
    orange=(250, 150, 30), red=(230, 40, 50), pink=(250, 150, 190), purple=(160, 80, 200),
    blue=(70, 110, 230), grass=(80, 180, 60), hedge=(30, 110, 40), leaf=(140, 210, 90),
    fence=(230, 200, 150), brown=(130, 80, 40), soil=(160, 110, 60), grey=(180, 180, 190))


def draw_garden():
    """320x200, 16 colours: a flower garden behind a picket fence (the MAG picture)."""
    cv = Canvas(320, 200, GARDEN_COLOURS)
    cv.rect(0, 0, 320, 200, "sky")
    cv.disc(290, 28, 18, "orange")
    cv.disc(290, 28, 15, "yellow")
    for cx, cy in ((60, 25), (160, 42)):
        for dx, rx, ry in ((-14, 14, 8), (0, 16, 11), (14, 14, 8)):
            cv.ellipse(cx + dx, cy, rx, ry, "white")
    cv.rect(0, 66, 320, 132, "hedge")
    for x in range(0, 336, 16):
        cv.disc(x, 68, 10, "hedge")
        cv.disc(x + 8, 84, 2, "leaf")
    draw_fence(cv)
    cv.rect(0, 132, 320, 200, "grass")
    cv.rect(0, 184, 320, 200, "soil")
    for x in range(2, 320, 8):
        cv.line(x, 134, x + 2, 130, "hedge")
    petals = ("red", "yellow", "pink", "purple", "blue")
    for i, cx in enumerate(range(12, 320, 32)):
        flower(cv, cx, 142, petals[i % 5])
        flower(cv, cx + 16, 160, petals[(i + 2) % 5])
    butterfly(cv, 120, 50, "white")
    butterfly(cv, 214, 76, "yellow")
    return cv


def draw_fence(cv):
    cv.rect(0, 100, 320, 105, "brown")
    cv.rect(0, 120, 320, 125, "brown")
    for x in range(4, 320, 16):
        cv.rect(x, 92, x + 8, 132, "fence")
        cv.polygon([(x, 92), (x + 4, 86), (x + 8, 92)], "fence")
        cv.rect(x + 6, 92, x + 8, 132, "soil")


def flower(cv, cx, cy, petal):
    cv.line(cx, cy + 4, cx, cy + 30, "hedge", 2)
    cv.ellipse(cx - 5, cy + 18, 5, 2, "leaf")
    cv.ellipse(cx + 5, cy + 24, 5, 2, "leaf")
    for dx, dy in ((-5, 0), (5, 0), (0, -5), (0, 5)):
        cv.disc(cx + dx, cy + dy, 4, petal)
    cv.disc(cx, cy, 3, "orange" if petal == "yellow" else "yellow")


def butterfly(cv, cx, cy, wing):
    for side in (-1, 1):
        cv.ellipse(cx + side * 5, cy - 3, 5, 4, wing)
        cv.ellipse(cx + side * 4, cy + 4, 3, 3, wing)
    cv.line(cx, cy - 5, cx, cy + 6, "black")


# ---------------------------------------------------------------------------
# File formats: BMP, MAG, WAV, MIDI
# ---------------------------------------------------------------------------

def bmp_bytes(cv):
    """Uncompressed 8-bit Windows BMP with a 256-entry palette, rows bottom-up."""
    stride = (cv.width + 3) & ~3
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in cv.palette)
    palette = palette.ljust(256 * 4, b"\0")
    rows = b"".join(bytes(cv.pixels[y * cv.width:(y + 1) * cv.width]).ljust(stride, b"\0")
                    for y in reversed(range(cv.height)))
    offset = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, cv.width, cv.height, 1, 8, 0,
                              len(rows), 2835, 2835, 0, 0)
    return file_header + info_header + palette + rows


# Copy sources of a MAG flag nibble: (units to the left, lines up), nibble 1..15.
MAG_COPY_OFFSETS = [None, (1, 0), (2, 0), (4, 0), (0, 1), (1, 1), (0, 2), (1, 2),
                    (2, 2), (0, 4), (1, 4), (2, 4), (0, 8), (1, 8), (2, 8), (0, 16)]
# Order in which copy sources are tried when the line above gives no hint.
MAG_TRY_ORDER = [4, 1, 2, 3, 6, 9, 12, 15, 5, 7, 8, 10, 11, 13, 14]


def mag_units(cv):
    """Split a 16-colour canvas into units of 4 pixels (2 bytes), per line."""
    lines = []
    for y in range(cv.height):
        row = cv.pixels[y * cv.width:(y + 1) * cv.width]
        packed = bytes((row[x] << 4) | row[x + 1] for x in range(0, cv.width, 2))
        lines.append([packed[i:i + 2] for i in range(0, len(packed), 2)])
    return lines


def choose_nibbles(units, y, previous):
    """Pick each unit's flag nibble: a copy source holding the same 2 bytes, or 0.

    The nibble of the same unit in the line above is preferred, because an
    unchanged flag costs no flag B byte.
    """
    def matches(x, n):
        left, up = MAG_COPY_OFFSETS[n]
        return x >= left and y >= up and units[y - up][x - left] == units[y][x]

    nibbles = []
    for x in range(len(units[y])):
        hint = previous[x]
        if hint and matches(x, hint):
            nibbles.append(hint)
        else:
            nibbles.append(next((n for n in MAG_TRY_ORDER if matches(x, n)), 0))
    return nibbles


def mag_payload(cv):
    """Encode the flag A bits, flag B bytes and pixel data of a MAG picture."""
    units = mag_units(cv)
    flag_a_bits, flag_b, pixel_data = [], bytearray(), bytearray()
    nibbles = [0] * len(units[0])
    previous_flags = bytes(len(units[0]) // 2)
    for y in range(cv.height):
        nibbles = choose_nibbles(units, y, nibbles)
        flags = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        for now, before in zip(flags, previous_flags):
            change = now ^ before
            flag_a_bits.append(1 if change else 0)
            if change:
                flag_b.append(change)
        previous_flags = flags
        for unit, nibble in zip(units[y], nibbles):
            if nibble == 0:
                pixel_data += unit
    flag_a = bytearray((len(flag_a_bits) + 7) // 8)
    for i, bit in enumerate(flag_a_bits):
        if bit:
            flag_a[i // 8] |= 0x80 >> (i % 8)
    return bytes(flag_a), bytes(flag_b), bytes(pixel_data)


def mag_bytes(cv, comment):
    """A complete 16-colour MAG file ("MAKI02") of the canvas."""
    assert len(cv.palette) == 16 and cv.width % 8 == 0
    flag_a, flag_b, pixel_data = mag_payload(cv)
    lead = b"MAKI02  " + b"SMPL" + b"Pagora Sample".ljust(19) + comment + b"\x1a"
    flag_a_offset = 32 + 48
    flag_b_offset = flag_a_offset + len(flag_a)
    pixel_offset = flag_b_offset + len(flag_b)
    header = struct.pack("<4B4H5I", 0, 0, 0, 0, 0, 0, cv.width - 1, cv.height - 1,
                         flag_a_offset, flag_b_offset, len(flag_b),
                         pixel_offset, len(pixel_data))
    palette = b"".join(bytes((g, r, b)) for r, g, b in cv.palette)
    return lead + header + palette + flag_a + flag_b + pixel_data


def chime_wav_bytes(rate=22050, seconds=0.7):
    """A two-tone door chime ("ding-dong"): decaying sines with a soft overtone, 16-bit mono."""
    notes = ((0.0, 1318.51), (0.25, 1046.50))          # E6, then C6
    count = int(rate * seconds)
    samples = bytearray()
    for i in range(count):
        t = i / rate
        value = 0.0
        for start, freq in notes:
            dt = t - start
            if dt >= 0:
                envelope = math.exp(-dt * 6.0) * min(1.0, dt / 0.004)
                value += envelope * (math.sin(2 * math.pi * freq * dt)
                                     + 0.25 * math.sin(4 * math.pi * freq * dt))
        fade = min(1.0, (count - i) / (rate * 0.05))
        level = round(value * fade * 0.4 * 32767)
        samples += struct.pack("<h", max(-32768, min(32767, level)))
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(samples)) + bytes(samples))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def midi_varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


# A gentle tune in C major: (MIDI note, length in quarter notes).
THEME = [(72, 1), (76, 1), (79, 1), (76, 1), (77, 1), (81, 1), (79, 2),
         (76, 1), (79, 1), (84, 1), (79, 1), (77, 1), (76, 1), (74, 1), (72, 3)]


def theme_midi_bytes(division=480):
    """Standard MIDI file, format 0: tempo, music box program, the theme."""
    track = bytearray()
    for event in (b"\xff\x03" + midi_varlen(8) + b"Hidamari",        # track name
                  b"\xff\x51\x03" + (500000).to_bytes(3, "big"),     # 120 bpm
                  b"\xff\x58\x04\x04\x02\x18\x08",                     # 4/4
                  b"\xc0\x0a"):                                      # music box
        track += b"\x00" + event
    gap = division // 8             # short silence between notes
    delta = 0
    for note, quarters in THEME:
        track += midi_varlen(delta) + bytes((0x90, note, 84))
        track += midi_varlen(quarters * division - gap) + bytes((0x80, note, 64))
        delta = gap
    track += midi_varlen(delta) + b"\xff\x2f\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, division)
            + b"MTrk" + struct.pack(">I", len(track)) + bytes(track))


# ---------------------------------------------------------------------------
# Command lines: keyword, blank, positional parameters each followed by ",",
# then the quoted options in their fixed order
# ---------------------------------------------------------------------------

def param(value):
    """Texts and names are quoted; switches are 1/0; numbers are decimal."""
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, int):
        return str(value)
    assert '"' not in value, value
    return f'"{value}"'


def options(if_=None, ifs=None, time=0, time_hide=0, pos=None, color=None, size=0, win=0):
    found = []
    if if_:
        found.append("/IF:" + if_)
    if ifs:
        found.append("/IFS:" + ifs)
    if time:
        found.append(f"/TIME:{time}")
    elif time_hide:
        found.append(f"/TIMEHIDE:{time_hide}")
    if pos:
        found.append("/POS:" + ",".join(map(str, pos)))
    if color:
        found.append("/COLOR:" + color)
    if size:
        found.append(f"/SIZE:{size}")
    if win:
        found.append(f"/WIN:{win}")
    return ",".join(f'"{o}"' for o in found)


def command(keyword, *params, **opts):
    return keyword + " " + "".join(param(p) + "," for p in params) + options(**opts)


MESSAGE_WINDOW, SELECT_WINDOW, USER_WINDOW_1 = 1, 2, 3
FULL_SCREEN = (0, 0, 319, 239)


def msg(text, mode="Char-KeyWait", speed="Normal", wait_after=True, **opts):
    """A message; by default in the message window, drawn temporarily."""
    opts.setdefault("win", MESSAGE_WINDOW)
    return command("MsgDlg", text, False, mode, speed, False, wait_after, False, **opts)


def graphic(file, effect="None", transparent=False, pos=FULL_SCREEN, **opts):
    # Transparent pictures take their key colour from the bottom-left pixel.
    return command("Graphic", file, 0, 0, transparent, True, effect, False, False,
                   transparent, pos=pos, **opts)


def music(file, loops=0):
    return command("Music", file, loops)


def sound(file, wait_end=True):
    return command("Sound", file, wait_end)


def music_stop():
    return "MusicStop"


def wait_time(milliseconds):
    return command("WaitTime", milliseconds)


FLAG_ON, FLAG_OFF, FLAG_INVERT = 0, 1, 2


def flag_ctrl(name, operation, **opts):
    return command("FlagCtrl", f"%{name}%", operation, **opts)


def select(choices, **opts):
    """Choices as (text, page in the same book)."""
    pairs = [item for text, page in choices for item in (text, f"${page}$")]
    opts.setdefault("win", SELECT_WINDOW)
    return command("SelectDlg", *pairs, **opts)


def page_jump(book, page, **opts):
    return command("PageJump", book, page, 0, **opts)


def mouse_click(clickable_only=False, **opts):
    return command("MouseClick", clickable_only, **opts)


ADD, SUBTRACT, MULTIPLY, DIVIDE, MODULO = 1, 2, 3, 4, 5


def value_ctrl(target, operator, first, second, **opts):
    """target = first (operator) second; operands are numbers or %name%."""
    return command("ValueCtrl", f"%{target}%", operator, str(first), str(second), **opts)


def string_ctrl(target, value, **opts):
    return command("StringCtrl", f"${target}$", value, **opts)


def clickable(book, page, image, division, pos, win, clear_on_select=True, **opts):
    return command("ClickAble", book, page, image, division, clear_on_select, True, False,
                   pos=pos, win=win, **opts)


def clickable_clear(**opts):
    return "ClickAbleClear ," + options(**opts)


def str_input(title, message, target):
    return command("StrInput", title, message, f"${target}$")


def window_show(show, win):
    return command("WindowShow", show, win=win)


def system(sub_command, *params, **opts):
    return command("System", sub_command, *params, **opts)


def comment(text):
    return "// " + text


# ---------------------------------------------------------------------------
# The comic: books, pages and header blocks
# ---------------------------------------------------------------------------

BOOK_1, BOOK_2 = "第一章", "第二章"
START_PAGE = "はじまり"

NUMERIC_VARIABLES = [("訪問回数", "0"), ("鍵フラグ", "0"), ("ちょうちょ", "0")]
STRING_VARIABLES = [("名前", "ななし"), ("天気", "はれ")]


def book_1_pages():
    return [
        (START_PAGE, [
            comment("オープニング：テーマ曲と朝の空、読者の名前を聞く"),
            music("theme.mid"),
            graphic("sky.bmp", "FadeIn"),
            window_show(True, MESSAGE_WINDOW),
            msg("よく晴れた春の朝。#やわらかな風が、丘の草をゆらしています。"),
            str_input("お名前", "あなたの名前を教えてください", "名前"),
            string_ctrl("天気", "ぽかぽか"),
            msg("&名前&さんは、&天気&陽気にさそわれて#丘の上まで散歩に出かけました。"),
            wait_time(800),
            page_jump(BOOK_1, "丘の上の家"),
        ]),
        ("丘の上の家", [
            graphic("house.bmp", "LeftTo"),
            msg("丘のてっぺんに、赤い屋根の小さな家が#ぽつんと建っています。",
                mode="Line-KeyWait"),
            msg("<B>さっきの庭で、小さな鍵をひろったっけ。<N>", mode="None",
                if_="%鍵フラグ%==1", color="clYellow"),
            select([("玄関のチャイムを鳴らす", "玄関"), ("庭をのぞいてみる", "庭")], time=20),
            comment("時間切れのときは、そのまま玄関へ"),
            page_jump(BOOK_1, "玄関"),
        ]),
        ("玄関", [
            sound("chime.wav"),
            value_ctrl("訪問回数", ADD, "%訪問回数%", 1),
            msg("ピンポーン。#……しばらくして、扉がゆっくり開きました。", speed="Slow"),
            graphic("haru.bmp", "ZoomUp", transparent=True, pos=(80, 40, 239, 199)),
            msg("「まあ、いらっしゃい。#わたしはハル。さあ、お上がりなさいな」", color="clAqua"),
            page_jump(BOOK_2, "居間"),
        ]),
        ("庭", [
            graphic("garden.mag", "Blind", pos=(0, 20, 319, 219)),
            value_ctrl("ちょうちょ", ADD, "%@乱数%", 1),
            msg("庭には花がいっぱい。#ちょうちょが%ちょうちょ%ひき、ひらひら飛んでいます。",
                mode="Line-Scroll", speed="Fast"),
            flag_ctrl("鍵フラグ", FLAG_ON),
            msg("花だんのすみで、小さな鍵を見つけました。", mode="KeyWait"),
            mouse_click(time=10),
            page_jump(BOOK_1, "丘の上の家"),
        ]),
    ]


def book_2_pages():
    tea_button = (12, 14, 108, 46)
    return [
        ("居間", [
            comment("居間：ハルさんとお茶。お茶のボタンが押されるまで待つ"),
            msg("「ここへ来てくれたのは、これで%訪問回数%回目ね」"),
            msg("「あら、わたしと同じ名前なのね」", ifs="%名前%<-ハル"),
            system("Call", BOOK_2, "おまけ", if_="%鍵フラグ%==1"),
            window_show(True, USER_WINDOW_1),
            clickable(BOOK_2, "おわり", "button.bmp", 2, tea_button, USER_WINDOW_1),
            msg("「お茶をどうぞ」#右上のお茶のボタンを押してください。", mode="None",
                wait_after=False, size=14),
            mouse_click(clickable_only=True),
        ]),
        ("おまけ", [
            comment("サブルーチン：庭の鍵を見つけたときだけ呼ばれる"),
            sound("chime.wav", wait_end=False),
            msg("「その鍵、庭の物置の鍵なの。#&名前&さんに、あげるわね」"),
            flag_ctrl("鍵フラグ", FLAG_OFF),
            system("Return"),
        ]),
        ("おわり", [
            clickable_clear(win=USER_WINDOW_1),
            window_show(False, USER_WINDOW_1),
            graphic("sky.bmp", "FadeIn"),
            msg("あたたかいお茶をいただきながら、#&名前&さんとハルさんは#"
                "日が暮れるまでおしゃべりしました。"),
            music_stop(),
            system("ValDataSave", "訪問回数"),
            system("StrDataSave", "名前"),
            system("AllDataSave", "ひだまり"),
            system("SaveNameSet", "&名前&さんの丘の思い出"),
            msg("<+4>おしまい<-4>#遊んでくれてありがとう。", mode="None", color="clYellow",
                time_hide=8),
            system("MenuCtrl", "Exit"),
        ]),
    ]


def comic_header():
    return [
        ("FileType", "PGR95"), ("CmdVer", "15"),
        ("StartBook", BOOK_1), ("StartPage", START_PAGE),
        ("Title", "ひだまりの丘の家"), ("Opening", "Default"), ("Document", ""),
        ("Copyright", "Pagora サンプル制作チーム"), ("SaveFile", "Default"),
        ("DataDirectory", "data"), ("RandomFlagMax", "6"),
        ("MouseCursorNormal", "Default"), ("MouseCursorKeyWait", "Default"),
        ("MouseCursorTimeCount", "Default"), ("MouseCursorClickAble", "Default"),
        ("MciMusic", "Sequencer"), ("MciSound", "WaveAudio"),
        ("SelectChange", "1"), ("ShowKeyWaitChar", "1"),
    ] + window_keys(320, 240)


def window_keys(width, height, x=None, y=None, title_bar=None):
    keys = [("FontName", "ＭＳ Ｐゴシック"), ("FontTypeBold", "1"), ("FontTypeItalic", "0"),
            ("FontTypeShadow", "1"), ("FontTypeShadowColor", "clSilver"),
            ("ImageWidth", str(width)), ("ImageHeight", str(height))]
    if x is not None:
        keys += [("RelativeToMainX", str(x)), ("RelativeToMainY", str(y)),
                 ("TitleBar", "1" if title_bar else "0")]
    return keys


def trailing_headers():
    """Header blocks that follow the books, in their usual order."""
    return [
        ("ValueFlag", NUMERIC_VARIABLES),
        ("StringFlag", STRING_VARIABLES),
        ("MessageWindow", window_keys(300, 70, 10, 165, title_bar=False)),
        ("SelectWindow", window_keys(220, 70, 50, 70, title_bar=True)),
        ("UserWindow1", window_keys(120, 60, 195, 5, title_bar=False)),
        ("Menu", [("Save", "1"), ("Load", "1"), ("Config", "1"), ("Document", "0"),
                  ("Help", "Auto"), ("Setup", "0"), ("Version", "1"), ("Exit", "1")]),
    ]


def header_block(name, entries):
    return [f'<Head="{name}">'] + [f"{k}={v}" for k, v in entries] + ["<Head End>"]


def book_block(name, pages):
    lines = [f'<Book="{name}">']
    for page, commands in pages:
        lines += [f'<Page="{page}">'] + commands + ["<Page End>"]
    return lines + ["<Book End>"]


def comic_lines():
    lines = ["/// Interactive Pagora for Win95", "/// Comic Script File (Command Version 15)"]
    lines += header_block("Comic", comic_header())
    lines += book_block(BOOK_1, book_1_pages())
    lines += book_block(BOOK_2, book_2_pages())
    for name, entries in trailing_headers():
        lines += header_block(name, entries)
    return lines


def comic_bytes():
    return "".join(line + "\r\n" for line in comic_lines()).encode("cp932")


# ---------------------------------------------------------------------------
# Main
# ---------------------------------------------------------------------------

def media_files():
    """File name in the data folder -> bytes."""
    return {
        "sky.bmp": bmp_bytes(draw_sky()),
        "house.bmp": bmp_bytes(draw_house()),
        "haru.bmp": bmp_bytes(draw_haru()),
        "button.bmp": bmp_bytes(draw_button()),
        "garden.mag": mag_bytes(draw_garden(), b"Garden with flowers and a fence"),
        "chime.wav": chime_wav_bytes(),
        "theme.mid": theme_midi_bytes(),
    }


def write_all():
    DATA_DIR.mkdir(parents=True, exist_ok=True)
    written = {SAMPLE_DIR / SCRIPT_NAME: comic_bytes()}
    written.update({DATA_DIR / name: data for name, data in media_files().items()})
    for path, data in written.items():
        path.write_bytes(data)
        print(f"{len(data):8d}  {path.relative_to(EXAMPLES.parent)}")


def main(argv):
    write_all()
    if "--verify" in argv:
        sys.path.insert(0, str(Path(__file__).resolve().parent))
        sys.dont_write_bytecode = True
        import check_sample
        return check_sample.main()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
