"""Small image file helpers for the artwork generator (Python standard library only).

Images are (width, height, rows) with rows a list of bytearrays: RGBA for what
rsvg-convert renders, RGB for what goes into the program.
"""
import struct
import subprocess
import zlib


def render_svg(svg_text, width, height, svg_path, png_path):
    """Writes the SVG source and renders it to an RGBA PNG at exactly width x height."""
    with open(svg_path, "w", encoding="utf-8") as f:
        f.write(svg_text)
    subprocess.run(["rsvg-convert", "-w", str(width), "-h", str(height), "-f", "png",
                    "-o", png_path, svg_path], check=True)
    with open(png_path, "rb") as f:
        w, h, rows = read_png_rgba(f.read())
    if (w, h) != (width, height):
        raise ValueError(f"{svg_path}: rendered {w}x{h}, wanted {width}x{height}")
    return rows


def read_png_rgba(data):
    """Decodes the 8-bit RGBA (or RGB) non-interlaced PNGs that rsvg-convert writes."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, w = 8, b"", 0
    while pos < len(data):
        (n,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or ctype not in (2, 6) or interlace:
                raise ValueError("unsupported PNG layout")
            bpp = 4 if ctype == 6 else 3
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    raw = zlib.decompress(idat)
    stride = w * bpp
    rows, prev = [], bytearray(stride)
    for y in range(h):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        if bpp == 3:
            line = bytearray(b for x in range(w) for b in (*line[3 * x:3 * x + 3], 255))
        rows.append(line)
    return w, h, rows


def key_out(rows, key, matte, threshold):
    """RGBA -> RGB for a sheet drawn with a transparent key colour.

    Pixels with less coverage than `threshold` become exactly the key colour;
    all others are blended over `matte`, the colour the pictures sit on in the
    widget, so that no half-transparent edge turns into a pink fringe."""
    out = []
    for row in rows:
        line = bytearray()
        for x in range(0, len(row), 4):
            r, g, b, a = row[x:x + 4]
            if a < threshold:
                line += bytes(key)
            else:
                px = [(c * a + m * (255 - a) + 127) // 255 for c, m in zip((r, g, b), matte)]
                if tuple(px) == tuple(key):
                    px[1] = 1  # a drawn pixel must never read as transparent
                line += bytes(px)
        out.append(line)
    return out


def flatten(rows):
    """RGBA -> RGB for pictures that are opaque by design."""
    return [bytearray(b for x in range(0, len(r), 4) for b in r[x:x + 3]) for r in rows]


def write_bmp24(path, width, rows):
    """Plain 24-bit bottom-up BMP with a BITMAPINFOHEADER: loads with LoadImage
    and with the program's own reader."""
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(width):
            r, g, b = row[3 * x:3 * x + 3]
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    height = len(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def png_bytes(width, rows, alpha=False):
    """Deterministic PNG (no time stamps), RGB or RGBA."""
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(
            ">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    ihdr = struct.pack(">IIBBBBB", width, len(rows), 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def write_png(path, width, rows, alpha=False):
    with open(path, "wb") as f:
        f.write(png_bytes(width, rows, alpha))


def _dib32(size, rows):
    """The image part of an icon or cursor entry: BITMAPINFOHEADER with the
    doubled height, BGRA colour rows bottom-up, then the 1-bit AND mask that
    systems without alpha support fall back on."""
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            if row[4 * x + 3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return info + colour + mask


def write_icon_file(path, images, cursor_hotspot=None):
    """ICO (type 1) or, with a hotspot, CUR (type 2) from square RGBA images."""
    kind = 2 if cursor_hotspot else 1
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for size, rows in images:
        blob = _dib32(size, rows)
        if cursor_hotspot:
            field1, field2 = cursor_hotspot  # a cursor keeps its hotspot where an icon has planes and depth
        else:
            field1, field2 = 1, 32
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, field1, field2,
                               len(blob), offset)
        blobs += blob
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, kind, len(images)) + entries + blobs)
