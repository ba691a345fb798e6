#!/usr/bin/env python3
"""Check the sample comic examples/sample/ as written by make_sample.py.

Run from anywhere:  python3 examples/tools/check_sample.py

Checks, each printed as OK or FAIL (exit status 1 on any failure):
- the script: CP932 text, CR LF after every line, the two head lines, balanced
  and well-ordered <Head>/<Book>/<Page> blocks, the required header keys;
- every command line: a known keyword, parameters that read back and are
  written again to the identical line, jump targets that exist, media files
  that exist in the data folder, variables that are declared and used;
- the media: BMP, WAV and MIDI headers, and the MAG picture, decoded by the
  decoder below (written from the file format, not from the encoder) and
  compared pixel for pixel with the picture the generator draws.
"""

import struct
import sys
import wave
from pathlib import Path

TOOLS = Path(__file__).resolve().parent
sys.path.insert(0, str(TOOLS))
sys.dont_write_bytecode = True      # keep the source tree free of __pycache__
import make_sample  # noqa: E402  (the expected garden picture)

SAMPLE_DIR = TOOLS.parent / "sample"
SCRIPT = SAMPLE_DIR / "Sample.csf"
SIZE_LIMIT = 400 * 1024

failures = []


def check(condition, what):
    print(("OK    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)
    return condition


# ---------------------------------------------------------------------------
# Script text and block structure
# ---------------------------------------------------------------------------

def read_script_lines(raw):
    check(raw.endswith(b"\r\n"), "script ends with CR LF")
    check(raw.count(b"\n") == raw.count(b"\r\n") == raw.count(b"\r"),
          "every line ends with CR LF, no lone CR or LF")
    try:
        text = raw.decode("cp932")
    except UnicodeDecodeError as error:
        check(False, f"script decodes as cp932 ({error})")
        return []
    check(text.encode("cp932") == raw, "script decodes as cp932 and encodes back unchanged")
    lines = text.split("\r\n")[:-1]
    check(lines[:2] == ["/// Interactive Pagora for Win95",
                        "/// Comic Script File (Command Version 15)"], "two head lines")
    check(all(lines), "no empty lines")
    return [line for line in lines if not line.startswith("///")]


def marker_name(line):
    parts = line.split('"')
    return parts[1] if len(parts) >= 3 else None


class Comic:
    """Header blocks and books of the script, as the block walk finds them."""

    def __init__(self):
        self.headers = {}            # name -> [(key, value)]
        self.books = {}              # name -> {page: [command lines]}
        self.order = []              # ("Head" | "Book", name) in file order


def parse_blocks(lines):
    comic, errors = Comic(), []
    head = book = page = None
    for number, line in enumerate(lines, 1):
        if line == "<Head End>":
            if head is None:
                errors.append(f"line {number}: <Head End> without start")
            head = None
        elif line.startswith("<Head"):
            if head or book:
                errors.append(f"line {number}: header block inside another block")
            head = marker_name(line)
            comic.headers[head] = []
            comic.order.append(("Head", head))
        elif line == "<Book End>":
            if book is None or page is not None:
                errors.append(f"line {number}: <Book End> outside a book or inside a page")
            book = None
        elif line.startswith("<Book"):
            if head or book:
                errors.append(f"line {number}: book inside another block")
            book = marker_name(line)
            comic.books[book] = {}
            comic.order.append(("Book", book))
        elif line == "<Page End>":
            if page is None or book is None:
                errors.append(f"line {number}: <Page End> without page start")
            elif not comic.books[book][page]:
                errors.append(f"line {number}: empty page")
            page = None
        elif line.startswith("<Page"):
            if book is None or page is not None or head:
                errors.append(f"line {number}: page outside a book or inside a page")
            page = marker_name(line)
            comic.books[book][page] = []
        elif line.startswith("<"):
            errors.append(f"line {number}: unknown block marker")
        elif head is not None:
            if not line.startswith("//"):
                key, sep, value = line.partition("=")
                if not sep:
                    errors.append(f"line {number}: header entry without '='")
                comic.headers[head].append((key, value))
        elif page is not None:
            comic.books[book][page].append(line)
        else:
            errors.append(f"line {number}: line outside any block")
    if head or book or page:
        errors.append("a block is still open at the end of the file")
    for error in errors:
        print("        " + error)
    check(not errors, "every <Head>, <Book> and <Page> block is opened and closed properly")
    return comic


def check_structure(comic):
    kinds = [kind for kind, _ in comic.order]
    last_book = len(kinds) - 1 - kinds[::-1].index("Book")
    check(comic.order[0] == ("Head", "Comic") and "Book" not in kinds[last_book + 1:]
          and all(k == "Book" for k in kinds[1:last_book + 1]),
          "block order: Comic, then the books, then the other header blocks")
    check([name for kind, name in comic.order[last_book + 1:]] ==
          ["ValueFlag", "StringFlag", "MessageWindow", "SelectWindow", "UserWindow1", "Menu"],
          "header blocks after the books: variables, windows, menu")
    pages = sum(len(p) for p in comic.books.values())
    check(len(comic.books) == 2 and 5 <= pages <= 8, f"two books, {pages} pages")
    names = list(comic.books) + [p for b in comic.books.values() for p in b]
    check(all("/" not in n and ":" not in n for n in names), "book and page names have no / or :")


def check_header(comic):
    header = dict(comic.headers["Comic"])
    expected = {"FileType": "PGR95", "CmdVer": "15", "DataDirectory": "data",
                "MciMusic": "Sequencer", "MciSound": "WaveAudio",
                "SelectChange": "1", "ShowKeyWaitChar": "1"}
    check(all(header.get(k) == v for k, v in expected.items()), "Comic keys " + ", ".join(expected))
    check(all(k in header for k in ("Title", "Copyright", "RandomFlagMax")),
          "Comic has Title, Copyright, RandomFlagMax")
    start_book, start_page = header.get("StartBook"), header.get("StartPage")
    check(start_page in comic.books.get(start_book, {}),
          f"start page {start_book}/{start_page} exists")
    for name in ("MessageWindow", "SelectWindow", "UserWindow1"):
        keys = [k for k, _ in comic.headers.get(name, [])]
        check(keys == ["FontName", "FontTypeBold", "FontTypeItalic", "FontTypeShadow",
                       "FontTypeShadowColor", "ImageWidth", "ImageHeight",
                       "RelativeToMainX", "RelativeToMainY", "TitleBar"],
              f"window block {name} has all its keys")
    menu = dict(comic.headers.get("Menu", []))
    check(sorted(menu) == sorted(["Save", "Load", "Config", "Document", "Help", "Setup",
                                  "Version", "Exit"])
          and all(v in ("0", "1", "Auto") for v in menu.values()), "Menu block")


# ---------------------------------------------------------------------------
# Command lines: read each one and write it again
# ---------------------------------------------------------------------------

KEYWORDS = ["MsgDlg", "Graphic", "Music", "Sound", "MusicStop", "WaitTime", "FlagCtrl",
            "SelectDlg", "PageJump", "MouseClick", "ValueCtrl", "StringCtrl", "ClickAble",
            "ClickAbleClear", "StrInput", "WindowShow", "System"]
MODES = ["None", "KeyWait", "Line-KeyWait", "Line-Scroll", "Char-KeyWait", "Char-Scroll"]
SPEEDS = ["Normal", "Fast", "Slow"]
EFFECTS = ["None", "FadeIn", "LeftTo", "TopTo", "RndPanel", "Mosaic", "Wave", "ZoomUp",
           "ZoomDown", "Blind", "Square", "FadeInSect", "LeftToSect", "TopToSect",
           "RndPanelSect", "MosaicSect", "WaveSect", "ZoomUpSect", "ZoomDownSect"]
SUB_COMMANDS = ["AllDataSave", "AllDataLoad", "ValDataSave", "ValDataLoad", "StrDataSave",
                "StrDataLoad", "Call", "Return", "MenuCtrl", "SaveNameSet"]
# Positional parameters per keyword: "text", "int", "bool" or a list of names.
SCHEMA = {
    "MsgDlg": ["text", "bool", MODES, SPEEDS, "bool", "bool", "bool"],
    "Graphic": ["text", "int", "int", "bool", "bool", EFFECTS, "bool", "bool", "bool"],
    "Music": ["text", "int"], "Sound": ["text", "bool"], "WaitTime": ["int"],
    "FlagCtrl": ["text", "int"], "PageJump": ["text", "text", "int"],
    "MouseClick": ["bool"], "ValueCtrl": ["text", "int", "text", "text"],
    "StringCtrl": ["text", "text"],
    "ClickAble": ["text", "text", "text", "int", "bool", "bool", "bool"],
    "StrInput": ["text", "text", "text"], "WindowShow": ["bool"],
}
OPTION_ORDER = ["IF", "IFS", "TIME", "TIMEHIDE", "POS", "COLOR", "SIZE", "WIN"]
FORBIDDEN = '!"$\'()=?;:*/'
SPECIAL_NUMBERS = ["@乱数", "@年月日", "@年", "@月", "@日", "@時分秒", "@時", "@分", "@秒", "@経過時間"]


def next_param(rest):
    """One token of a parameter list, with the quoting rule of the line format."""
    quote, comma = rest.find('"'), rest.find(",")
    if quote >= 0 and (comma < 0 or quote < comma):
        rest = rest[quote + 1:]
        close = rest.find('"')
        token, rest = (rest[:close], rest[close + 1:]) if close >= 0 else ("", rest)
    elif comma >= 0:
        token = rest[:comma]
    else:
        token = rest
    comma = rest.find(",")
    return token, (rest[comma + 1:] if comma >= 0 else "")


def tokens_of(line):
    rest = line.partition(" ")[2].lstrip(" ")
    tokens = []
    while rest:
        token, rest = next_param(rest)
        tokens.append(token)
    return tokens


def write_param(kind, token):
    if kind == "text":
        return f'"{token}"'
    if kind in ("int", "bool"):
        value = int(token)              # raises on a non-number, as a strict field does
        return str(value) if kind == "int" else ("1" if value > 0 else "0")
    if token not in kind:
        raise ValueError(f"{token!r} is not one of the names of this field")
    return f'"{token}"'


def split_params(keyword, tokens):
    """Positional tokens as the reader takes them, then the option tokens."""
    if keyword == "SelectDlg":
        count = 0
        while count + 1 < len(tokens) and tokens[count + 1].startswith("$"):
            count += 2
        return tokens[:count], ["text"] * count
    if keyword == "System":
        count = next((i for i, t in enumerate(tokens) if not t or t.startswith("/")), len(tokens))
        return tokens[:count], ["text"] * count
    if keyword == "ClickAbleClear":
        return tokens[:1], [""]
    kinds = SCHEMA[keyword]
    return tokens[:len(kinds)], kinds


def rebuild(line):
    """The line as the editor writes it back after reading it."""
    keyword = line.split(" ")[0]
    if keyword == "MusicStop":
        return "MusicStop"
    tokens = tokens_of(line)
    positional, kinds = split_params(keyword, tokens)
    if keyword == "ClickAbleClear":
        written = ","
    else:
        written = "".join(write_param(k, t) + "," for k, t in zip(kinds, positional))
    options = {}
    for token in tokens[len(positional):]:
        key, sep, value = token[1:].partition(":")
        if not token.startswith("/") or not sep or key not in OPTION_ORDER:
            raise ValueError(f"{token!r} is not an option")
        options[key] = value
    ordered = [f'"/{k}:{options[k]}"' for k in OPTION_ORDER if k in options]
    return keyword + " " + written + ",".join(ordered)


class Usage:
    """What the command lines refer to, for the cross-checks."""

    def __init__(self):
        self.kinds = {}                 # keyword -> [page]
        self.jumps = []                 # (book, page, where)
        self.files = []                 # (file, where)
        self.numeric = []               # (name, where) checked references
        self.strings = []
        self.embedded = []              # (text, where) texts with variables
        self.checked_names = []         # (text, where) texts under the name check
        self.conditions = []
        self.time_limits = []
        self.problems = []              # references that cannot be right


def record_usage(usage, book, page, line, where):
    keyword = line.split(" ")[0]
    tokens = tokens_of(line)
    positional, _ = split_params(keyword, tokens) if keyword != "MusicStop" else ([], [])
    usage.kinds.setdefault(keyword, []).append(page)
    options = [t for t in tokens[len(positional):]]
    usage.conditions += [(t, where) for t in options if t.startswith(("/IF:", "/IFS:"))]
    usage.time_limits += [(t, where) for t in options if t.startswith("/TIME:")]
    p = positional
    if keyword in ("Graphic", "Music", "Sound"):
        usage.files.append((p[0], where))
    elif keyword == "MsgDlg":
        usage.embedded.append((p[0], where))
        usage.checked_names.append((p[0], where))
    elif keyword == "SelectDlg":
        for text, target in zip(p[0::2], p[1::2]):
            usage.jumps.append((book, target[1:-1], where))
            usage.embedded.append((text, where))
            usage.checked_names.append((text, where))
    elif keyword == "PageJump":
        usage.jumps.append((p[0], p[1], where))
    elif keyword == "ClickAble":
        usage.jumps.append((p[0], p[1], where))
        if p[2]:
            usage.files.append((p[2], where))
    elif keyword == "FlagCtrl":
        usage.numeric.append((p[0][1:-1], where))
    elif keyword == "ValueCtrl":
        usage.numeric += [(o[1:-1], where) for i, o in enumerate(p) if i != 1 and o.startswith("%")]
    elif keyword in ("StringCtrl", "StrInput"):
        target = p[0] if keyword == "StringCtrl" else p[2]
        usage.strings.append((target[1:-1], where))
        usage.embedded.append((p[1], where))
    elif keyword == "System":
        record_system(usage, book, p, where)


def record_system(usage, book, params, where):
    sub = params[0]
    if sub not in SUB_COMMANDS:
        usage.problems.append(f"{where}: unknown System sub-command {sub!r}")
    if sub in ("ValDataSave", "ValDataLoad"):
        usage.numeric.append((params[1], where))
    elif sub in ("StrDataSave", "StrDataLoad"):
        usage.strings.append((params[1], where))
    elif sub == "Call":
        usage.jumps.append((params[1], params[2], where))
    elif sub == "SaveNameSet":
        usage.embedded.append((params[1], where))


def check_commands(comic):
    usage = Usage()
    bad = []
    for book, pages in comic.books.items():
        for page, lines in pages.items():
            for index, line in enumerate(lines):
                where = f"{book}/{page} line {index}"
                if line.startswith("//"):
                    usage.kinds.setdefault("//", []).append(page)
                    continue
                keyword = line.split(" ")[0]
                if keyword not in KEYWORDS:
                    bad.append(f"{where}: unknown keyword {keyword!r}")
                    continue
                try:
                    again = rebuild(line)
                except (ValueError, IndexError) as error:
                    bad.append(f"{where}: {error}")
                    continue
                if again != line:
                    bad.append(f"{where}: written back as {again!r}")
                record_usage(usage, book, page, line, where)
    bad += usage.problems
    for problem in bad:
        print("        " + problem)
    check(not bad, "every command line reads back and is written again unchanged")
    return usage


def check_usage(comic, usage):
    missing = [k for k in KEYWORDS if k not in usage.kinds]
    check(not missing, "all 17 command kinds are used" + (f" (missing {missing})" if missing else ""))
    check(bool(usage.conditions), f"{len(usage.conditions)} lines carry a condition")
    check(bool(usage.time_limits), f"{len(usage.time_limits)} lines carry a time limit")
    dangling = [j for j in usage.jumps if j[1] not in comic.books.get(j[0], {})]
    check(not dangling, f"{len(usage.jumps)} page references name real pages {dangling or ''}")
    data = SAMPLE_DIR / dict(comic.headers["Comic"])["DataDirectory"]
    absent = [f for f in usage.files if not (data / f[0]).is_file()]
    check(not absent, f"{len(usage.files)} media references exist in the data folder {absent or ''}")
    check_variables(comic, usage)


def embedded_names(text, delimiter):
    parts = text.split(delimiter)
    return parts[1::2] if len(parts) % 2 == 1 else None


def check_variables(comic, usage):
    numeric = [k for k, _ in comic.headers.get("ValueFlag", [])]
    strings = [k for k, _ in comic.headers.get("StringFlag", [])]
    undeclared = [n for n in usage.numeric if n[0] not in numeric + SPECIAL_NUMBERS]
    undeclared += [n for n in usage.strings if n[0] not in strings + ["@曜日"]]
    check(not undeclared, f"variables named by commands are declared {undeclared or ''}")
    used = {n for n, _ in usage.numeric}, {n for n, _ in usage.strings}
    unused = [n for n in numeric if n not in used[0]] + [n for n in strings if n not in used[1]]
    check(not unused, f"every declared variable is used by a command {unused or ''}")
    problems = []
    for text, where in usage.embedded:
        amps, pcts = embedded_names(text, "&"), embedded_names(text, "%")
        if amps is None or pcts is None:
            problems.append(f"{where}: unpaired & or %")
            continue
        problems += [f"{where}: &{n}& undeclared" for n in amps if n not in strings + ["@曜日"]]
        problems += [f"{where}: %{n}% undeclared" for n in pcts
                     if n not in numeric + SPECIAL_NUMBERS]
    problems += [f"{w}: forbidden character in text" for t, w in usage.checked_names
                 if any(c in FORBIDDEN for c in t)]
    for problem in problems:
        print("        " + problem)
    embedded = sum(t.count("&") // 2 + t.count("%") // 2 for t, _ in usage.embedded)
    check(not problems and embedded > 0,
          f"{embedded} variables embedded in texts, all paired and declared; "
          "message and choice texts free of forbidden characters")


# ---------------------------------------------------------------------------
# MAG decoder (16 and 256 colours), written from the file format
# ---------------------------------------------------------------------------

MAG_OFFSETS = {1: (1, 0), 2: (2, 0), 3: (4, 0), 4: (0, 1), 5: (1, 1), 6: (0, 2), 7: (1, 2),
               8: (2, 2), 9: (0, 4), 10: (1, 4), 11: (2, 4), 12: (0, 8), 13: (1, 8),
               14: (2, 8), 15: (0, 16)}


class MagError(Exception):
    pass


def read_mag_header(data):
    if data[:8] != b"MAKI02  ":
        raise MagError("signature")
    if 0x1A not in data:
        raise MagError("no 0x1A byte")
    h = data.index(0x1A) + 1
    if len(data) - h < 32:
        raise MagError("header cut short")
    (top, _, _, mode, sx, sy, ex, ey, flag_a, flag_b, flag_b_size,
     pixels, pixel_size) = struct.unpack_from("<4B4H5I", data, h)
    colours = 256 if mode & 0x80 else 16
    unit = 4 if colours == 256 else 8
    aligned_sx, aligned_ex = sx // unit * unit, (ex // unit + 1) * unit - 1
    if top != 0 or aligned_ex - aligned_sx < 1:
        raise MagError("bad header")
    info = dict(h=h, colours=colours, sx=sx, sy=sy, ex=ex, ey=ey,
                aligned_sx=aligned_sx, aligned_ex=aligned_ex,
                line_bytes=(aligned_ex + 1 - aligned_sx) // (unit // 4), height=ey - sy + 1,
                flag_a=h + flag_a, flag_b=h + flag_b, flag_b_end=h + flag_b + flag_b_size,
                pixels=h + pixels, pixels_end=h + pixels + pixel_size)
    if info["flag_b_end"] > len(data) or info["pixels_end"] > len(data):
        raise MagError("flag or pixel data beyond the end of the file")
    if h + 32 + 3 * colours > len(data):
        raise MagError("palette beyond the end of the file")
    info["palette"] = [(data[i + 1], data[i], data[i + 2])        # stored G, R, B
                       for i in range(h + 32, h + 32 + 3 * colours, 3)]
    return info


def decode_mag(data, info):
    """Bottom-up pixel rows, as a BMP stores them, plus the byte counts consumed."""
    line_bytes, height = info["line_bytes"], info["height"]
    units_per_line = line_bytes // 2
    source = {n: (up * units_per_line - left) * 2 for n, (left, up) in MAG_OFFSETS.items()}
    out = bytearray(line_bytes * height)
    flags = bytearray(line_bytes // 4)
    a, mask, b, p = info["flag_a"], 0x80, info["flag_b"], info["pixels"]
    copies = 0
    for y in range(height):
        w = (height - 1 - y) * line_bytes
        for j in range(len(flags)):
            bit = data[a] & mask
            mask >>= 1
            if not mask:
                a, mask = a + 1, 0x80
            if bit:
                if b >= info["flag_b_end"]:
                    raise MagError("flag B overrun")
                flags[j] ^= data[b]
                b += 1
            for nibble in (flags[j] >> 4, flags[j] & 15):
                if nibble == 0:
                    if p + 2 > info["pixels_end"]:
                        raise MagError("pixel data overrun")
                    out[w:w + 2] = data[p:p + 2]
                    p += 2
                else:
                    src = w + source[nibble]
                    if not 0 <= src <= len(out) - 2:
                        raise MagError("copy from outside the picture")
                    out[w:w + 2] = out[src:src + 2]
                    copies += 1
                w += 2
    flag_a_used = a - info["flag_a"] + (mask != 0x80)
    return out, dict(flag_a=flag_a_used, flag_b=b - info["flag_b"],
                     pixels=p - info["pixels"], copies=copies)


def mag_to_indices(rows, info):
    """Top-down palette indices of the picture's own columns."""
    first = info["sx"] - info["aligned_sx"]
    result = bytearray()
    for y in range(info["height"]):
        row = rows[(info["height"] - 1 - y) * info["line_bytes"]:][:info["line_bytes"]]
        if info["colours"] == 16:
            row = bytes(v for byte in row for v in (byte >> 4, byte & 15))
        result += row[first:first + info["ex"] - info["sx"] + 1]
    return result


def check_mag(path):
    data = path.read_bytes()
    try:
        info = read_mag_header(data)
        rows, used = decode_mag(data, info)
    except (MagError, IndexError, struct.error) as error:
        check(False, f"{path.name}: MAG decodes ({error})")
        return
    check(True, f"{path.name}: MAG header valid, {info['colours']} colours, "
          f"{info['ex'] - info['sx'] + 1}x{info['height']}")
    check(used["flag_b"] == info["flag_b_end"] - info["flag_b"]
          and used["pixels"] == info["pixels_end"] - info["pixels"]
          and info["flag_a"] + used["flag_a"] <= info["flag_b"],
          f"{path.name}: decoding used exactly the declared flag and pixel data "
          f"(flag A {used['flag_a']}, flag B {used['flag_b']}, pixels {used['pixels']} bytes)")
    expected = make_sample.draw_garden()
    check(info["palette"] == expected.palette, f"{path.name}: palette matches the drawn picture")
    decoded = mag_to_indices(rows, info)
    same = (decoded == expected.pixels and info["height"] == expected.height
            and info["ex"] - info["sx"] + 1 == expected.width)
    check(same, f"{path.name}: decoded pixels equal the drawn picture "
          f"({used['copies']} of {info['height'] * info['line_bytes'] // 2} units copied)")


# ---------------------------------------------------------------------------
# BMP, WAV, MIDI
# ---------------------------------------------------------------------------

def check_bmp(path):
    data = path.read_bytes()
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data)
    (header, width, height, planes, bits, compression,
     image_size) = struct.unpack_from("<IiiHHII", data, 14)
    stride = (width * bits // 8 + 3) & ~3
    ok = (magic == b"BM" and size == len(data) and header == 40 and planes == 1
          and bits in (8, 24) and compression == 0 and offset + stride * height == len(data)
          and width <= 320 and height <= 240)
    check(ok, f"{path.name}: uncompressed {bits}-bit BMP {width}x{height}")


def check_wav(path):
    with wave.open(str(path), "rb") as w:
        seconds = w.getnframes() / w.getframerate()
        ok = w.getnchannels() == 1 and w.getsampwidth() in (1, 2) and w.getcomptype() == "NONE"
        frames = w.readframes(w.getnframes())
    peak = max(abs(v) for (v,) in struct.iter_unpack("<h", frames)) if frames else 0
    check(ok and 0 < seconds < 1 and peak > 1000,
          f"{path.name}: PCM mono {w.getsampwidth() * 8}-bit, {seconds:.2f} s, peak {peak}")


def check_midi(path):
    data = path.read_bytes()
    tag, length, fmt, tracks, division = struct.unpack_from(">4sIHHH", data)
    track_tag, track_length = struct.unpack_from(">4sI", data, 14)
    notes = data.count(b"\x90")
    check(tag == b"MThd" and length == 6 and fmt == 0 and tracks == 1 and track_tag == b"MTrk"
          and 22 + track_length == len(data) and data.endswith(b"\xff\x2f\x00") and notes > 0,
          f"{path.name}: standard MIDI file format 0, one track, {notes} notes, division {division}")


# ---------------------------------------------------------------------------

def main():
    raw = SCRIPT.read_bytes()
    comic = parse_blocks(read_script_lines(raw))
    check_structure(comic)
    check_header(comic)
    usage = check_commands(comic)
    check_usage(comic, usage)
    data_dir = SAMPLE_DIR / "data"
    for path in sorted(data_dir.iterdir()):
        {".bmp": check_bmp, ".wav": check_wav, ".mid": check_midi,
         ".mag": check_mag}.get(path.suffix.lower(), lambda p: check(False, f"{p.name}: unexpected"))(path)
    total = sum(p.stat().st_size for p in SAMPLE_DIR.parent.rglob("*") if p.is_file()
                and "__pycache__" not in p.parts)
    check(total < SIZE_LIMIT, f"examples/ holds {total} bytes in all")
    print(f"\n{len(failures)} failure(s)" if failures else "\nall checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
