#!/usr/bin/env python3
"""Draws every picture of the widget and writes the files that go into the
program's resources. Run through res/generate.sh.

usage: make_artwork.py OUTDIR WORKDIR
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pixels                      # noqa: E402
import shapes                      # noqa: E402
from shapes import OUTLINE, f      # noqa: E402
import weather                     # noqa: E402

# The sheets' empty area: the widget's transparent colour (magenta), so tiles
# can be drawn keyed over the face and the tray icon gets clear corners.
KEY = (255, 0, 255)
# What the pictures sit on in the widget: the wells of the background. Edge
# pixels are blended over it instead of over the key colour.
MATTE = (16, 27, 40)
MATTE_HEX = "#%02x%02x%02x" % MATTE
# Coverage below which an edge pixel is left transparent.
THRESHOLD = 56

SVG_HEAD = ('<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            'viewBox="0 0 {w} {h}">')


def sheet_svg(width, height, cols, rows, cell, draw):
    """A sheet of cols x rows cells; draw(index) gives the SVG of tile index
    (from 1) in a box of cell - 1 units, or None for an empty tile. Each tile
    is clipped to that box so the separator row and column stay empty."""
    body = [SVG_HEAD.format(w=width, h=height),
            f'<defs><clipPath id="tile"><rect width="{cell - 1}" height="{cell - 1}"/></clipPath></defs>']
    for index in range(1, cols * rows + 1):
        art = draw(index)
        if not art:
            continue
        x, y = ((index - 1) % cols) * cell, ((index - 1) // cols) * cell
        body.append(f'<g transform="translate({x},{y})"><g clip-path="url(#tile)">{art}</g></g>')
    body.append("</svg>")
    return "".join(body)


# --- wind ------------------------------------------------------------------------
def wind_tile(sector):
    """Sector 1 = wind from the south, then clockwise. The arrow flies with the
    wind: its feathered tail lies on the side the wind comes from and its head
    points where the air goes, so sector 1 points up (north)."""
    toward = (sector - 1) * 22.5          # compass bearing the arrow points to
    c = 19.5
    ring = (f'<circle cx="{c}" cy="{c}" r="16.6" fill="none" stroke="{OUTLINE}" stroke-width="3"/>'
            f'<circle cx="{c}" cy="{c}" r="16.6" fill="none" stroke="#5c7391" stroke-width="1.2"/>')
    ticks = []
    for k in range(8):
        a = math.radians(k * 45)
        r1, r2 = (13.2, 18.6) if k % 2 == 0 else (14.6, 17.4)
        x1, y1 = c + r1 * math.sin(a), c - r1 * math.cos(a)
        x2, y2 = c + r2 * math.sin(a), c - r2 * math.cos(a)
        colour = "#ff7a6b" if k == 0 else "#8aa2bf"
        width = 2.2 if k == 0 else (1.5 if k % 2 == 0 else 1.0)
        ticks.append(f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" stroke="{colour}" '
                     f'stroke-width="{width}" stroke-linecap="round"/>')
    g1, g2 = shapes.uid("wa"), shapes.uid("wb")
    # A dart drawn pointing up around the centre, then turned to its bearing;
    # the notch marks the side the wind comes from.
    left = "M0,-14.5 L0,6 L-8,12.5 Z"
    right = "M0,-14.5 L8,12.5 L0,6 Z"
    whole = "M0,-14.5 L8,12.5 L0,6 L-8,12.5 Z"
    arrow = (shapes.linear(g1, 0, -15, 0, 13, [(0, "#f4fff6"), (1, "#a8ecb9")])
             + shapes.linear(g2, 0, -15, 0, 13, [(0, "#9fe6b1"), (1, "#3f9f5b")])
             + f'<g transform="translate({c},{c}) rotate({toward})">'
             f'<path d="{whole}" fill="{OUTLINE}" stroke="{OUTLINE}" stroke-width="2.2" '
             f'stroke-linejoin="round"/>'
             f'<path d="{left}" fill="url(#{g1})"/><path d="{right}" fill="url(#{g2})"/></g>')
    return ring + "".join(ticks) + arrow


# --- moon ------------------------------------------------------------------------
MOON_PHASES = [0.0, 0.15, 0.25, 0.37, 0.5, 0.63, 0.75, 0.85]   # new .. waning crescent
CRATERS = [(-4.5, -5, 3.2), (5, -2, 2.4), (-1, 5.5, 3.6), (6.5, 7, 1.6), (-8, 3, 1.8), (2, -9.5, 1.7)]


def moon_tile(index):
    phase = MOON_PHASES[index - 1]
    c, r = 19.5, 15.5
    g, clip = shapes.uid("ml"), shapes.uid("mc")
    lit = shapes.lit_path(c, c, r, phase)
    craters = "".join(f'<circle cx="{f(c + x)}" cy="{f(c + y)}" r="{f(cr)}"/>' for x, y, cr in CRATERS)
    out = [shapes.radial(g, c - 5, c - 6, r * 1.7, [(0, "#fffbea"), (0.55, "#f6e6b4"), (1, "#d9bf78")]),
           f'<clipPath id="{clip}"><path d="{lit}"/></clipPath>',
           f'<circle cx="{c}" cy="{c}" r="{r + 1.1}" fill="{OUTLINE}"/>',
           # the unlit side in earthshine, with a faint rim so a new moon still shows
           f'<circle cx="{c}" cy="{c}" r="{r}" fill="#243142" stroke="#51647c" stroke-width="1"/>',
           f'<g fill="#1d2836" opacity="0.7">{craters}</g>']
    if phase != 0.0:
        out += [f'<path d="{lit}" fill="url(#{g})"/>',
                f'<g clip-path="url(#{clip})" fill="#cdb679" opacity="0.45">{craters}</g>']
    return "".join(out)


# --- background ------------------------------------------------------------------
COLUMN_X = [5] + [91 + 42 * k for k in range(7)]


def background_svg():
    w, h = 388, 213
    o = [SVG_HEAD.format(w=w, h=h), "<defs>",
         shapes.linear("glass", 0, 0, 0, h, [(0, "#22364d"), (0.45, "#172638"), (1, "#0e1723")]),
         shapes.linear("band", 0, 0, 0, 18, [(0, "#36577a"), (0.5, "#274462"), (1, "#1c3350")]),
         shapes.linear("sep", 0, 22, 0, 208, [(0, "#6f8cad"), (0.5, "#8fb0d4"), (1, "#6f8cad")]),
         shapes.linear("head", 0, 21, 0, 49, [(0, "#3c5b7e"), (1, "#243a54")]),
         "</defs>"]
    o.append(f'<rect width="{w}" height="{h}" fill="url(#glass)"/>')
    # a soft reflection across the upper left, as on a glass pane
    o.append('<path d="M0,18 L388,18 L388,30 C260,44 120,70 0,120 Z" fill="#ffffff" opacity="0.03"/>')
    # title band
    o.append(f'<rect width="{w}" height="18" fill="url(#band)"/>')
    o.append(f'<rect y="0" width="{w}" height="1" fill="#7fa3c9" opacity="0.55"/>')
    o.append(f'<rect y="17" width="{w}" height="1" fill="#0a121c"/>')
    o.append(f'<rect y="18" width="{w}" height="1" fill="#4a6b8f" opacity="0.35"/>')
    # the two window buttons get a slightly darker pocket at the band's right end
    o.append('<rect x="359" y="2" width="27" height="14" rx="3" fill="#0d1826" opacity="0.35"/>')

    def panel(x, pw):
        return (f'<rect x="{x + 0.5}" y="20.5" width="{pw - 1}" height="189" rx="4" fill="#ffffff" '
                f'fill-opacity="0.045" stroke="#9fc0e6" stroke-opacity="0.16"/>'
                f'<rect x="{x + 1}" y="21" width="{pw - 2}" height="28" rx="3.5" fill="url(#head)" '
                f'opacity="0.55"/>'
                f'<rect x="{x + 1}" y="49" width="{pw - 2}" height="1" fill="#8fb0d4" opacity="0.18"/>')

    o.append(panel(3, 86))
    for x in COLUMN_X[1:]:
        o.append(panel(x - 1, 42))
    # the line between now and the forecast
    o.append('<rect x="89" y="24" width="1" height="182" fill="url(#sep)" opacity="0.5"/>')

    def well(x, y, ww=40, hh=40):
        # inset: darker rim above, a light lip below, the matte inside
        return (f'<rect x="{x - 0.5}" y="{y - 0.5}" width="{ww + 1}" height="{hh + 1}" rx="4.5" '
                f'fill="none" stroke="#a9c8ec" stroke-opacity="0.10"/>'
                f'<rect x="{x}" y="{y}" width="{ww}" height="{hh}" rx="4" fill="{MATTE_HEX}"/>'
                f'<path d="M{x + 4},{y + 0.5} L{x + ww - 4},{y + 0.5}" stroke="#060b12" '
                f'stroke-opacity="0.6"/>'
                f'<path d="M{x + 4},{y + hh + 0.5} L{x + ww - 4},{y + hh + 0.5}" stroke="#b9d6f5" '
                f'stroke-opacity="0.18"/>')

    o.append(well(5, 51) + well(46, 51) + well(5, 92) + well(46, 92))
    for x in COLUMN_X[1:]:
        o.append(well(x, 51) + well(x, 92))
    # faint rules under the temperature and wind rows of the forecast
    for y in (164.5, 193.5):
        for x in COLUMN_X[1:]:
            o.append(f'<line x1="{x + 4}" y1="{y}" x2="{x + 36}" y2="{y}" stroke="#9fc0e6" '
                     f'stroke-opacity="0.12"/>')
        o.append(f'<line x1="8" y1="{y}" x2="84" y2="{y}" stroke="#9fc0e6" stroke-opacity="0.12"/>')
    # window edge: dark outside, a breath of light inside
    o.append(f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" fill="none" stroke="#05090e"/>')
    o.append(f'<rect x="1.5" y="1.5" width="{w - 3}" height="{h - 3}" fill="none" stroke="#ffffff" '
             f'stroke-opacity="0.07"/>')
    o.append("</svg>")
    return "".join(o)


# --- program icon and pointers ----------------------------------------------------
def app_icon_svg(size):
    """The program's own icon: sun and cloud on a small glass tile; the 16-pixel
    size drops the tile so the picture stays readable."""
    o = [SVG_HEAD.format(w=48, h=48).replace(f'width="48" height="48"',
                                             f'width="{size}" height="{size}"')]
    if size > 16:
        g = shapes.uid("tile")
        o.append(shapes.linear(g, 0, 0, 0, 48, [(0, "#3d6790"), (1, "#14263b")]))
        o.append(f'<rect x="1" y="1" width="46" height="46" rx="9" fill="url(#{g})" stroke="#0a1320" '
                 f'stroke-width="1.5"/>')
        o.append('<rect x="3" y="3" width="42" height="20" rx="7" fill="#ffffff" opacity="0.08"/>')
        o.append('<g transform="translate(4,4)">' + shapes.sun(15, 15, 8.5, ray_len=4)
                 + shapes.cloud(9, 17, 31, "white") + '</g>')
    else:
        o.append(shapes.sun(18, 17, 11, ray_len=5.5) + shapes.cloud(5, 19, 42, "white", rim=2.6))
    o.append("</svg>")
    return "".join(o)


def hand_svg():
    """A pointing hand for links and buttons; hotspot at the fingertip (10, 1)."""
    p = ("M8,3 C8,1.3 12,1.3 12,3 L12,11.5 C12.2,10 16,10 16,12 L16,13.2 C16.3,11.8 20,11.8 20,13.6 "
         "L20,14.6 C20.3,13.2 24,13.4 24,15.4 L24,22 C24,26.5 21.5,29.5 18.5,30.5 L12,30.5 "
         "C10,29.5 9,28 7.5,26 L3.2,19.6 C2,17.8 4.4,15.6 6.2,17.3 L8,19 Z")
    lines = "M12,17.5 L12,13 M16,17.5 L16,13.6 M20,17.5 L20,15"
    return (SVG_HEAD.format(w=32, h=32)
            + f'<path d="{p}" fill="#ffffff" stroke="#000000" stroke-width="1.3" stroke-linejoin="round"/>'
            + f'<path d="{lines}" stroke="#000000" stroke-width="1" stroke-linecap="round"/></svg>')


def move_svg():
    """Four arrows for dragging the widget; hotspot in the middle (16, 16)."""
    p = ("M16,1.5 L21,7 L18,7 L18,14 L25,14 L25,11 L30.5,16 L25,21 L25,18 L18,18 L18,25 L21,25 "
         "L16,30.5 L11,25 L14,25 L14,18 L7,18 L7,21 L1.5,16 L7,11 L7,14 L14,14 L14,7 L11,7 Z")
    return (SVG_HEAD.format(w=32, h=32)
            + f'<path d="{p}" fill="#ffffff" stroke="#000000" stroke-width="1.3" stroke-linejoin="round"/>'
            + "</svg>")


def close_svg():
    """An arrow with a red close sign beside it: a click closes this view; hotspot at the tip (1, 1)."""
    arrow = "M1.5,1.5 L1.5,21 L6,16.5 L9.2,23.8 L12.4,22.4 L9.3,15.3 L15.5,15.3 Z"
    cross = "M20,20 L27,27 M27,20 L20,27"
    return (SVG_HEAD.format(w=32, h=32)
            + f'<path d="{arrow}" fill="#ffffff" stroke="#000000" stroke-width="1.3" stroke-linejoin="round"/>'
            + '<circle cx="23.5" cy="23.5" r="7.3" fill="#d02828" stroke="#000000" stroke-width="1.2"/>'
            + f'<path d="{cross}" stroke="#ffffff" stroke-width="2.4" stroke-linecap="round"/></svg>')


# --- a preview of the face for the docs --------------------------------------------
def face_text_svg():
    """Sample labels where the widget puts them, in the widget's colours, so the
    preview shows how text reads on the glass. DejaVu stands in for Tahoma."""
    big, small = 11, 9

    def t(x, y, text, colour, size=big, bold=False, anchor="start"):
        weight = ' font-weight="bold"' if bold else ""
        return (f'<text x="{x}" y="{y + size - 1}" font-family="Tahoma, DejaVu Sans Condensed" '
                f'font-size="{size}"{weight} fill="{colour}" text-anchor="{anchor}">{text}</text>')

    o = [SVG_HEAD.format(w=388, h=213)]
    o.append(t(6, 3, "Berlin, Deutschland", "#000000", bold=True))
    o.append(t(5, 2, "Berlin, Deutschland", "#80ff80", bold=True))
    o.append(t(373, 1, "\u00d7", "#e0e0e0", 13, True))
    o.append(t(363, 3, "_", "#b0b0b0", 11, True))
    o.append(t(46, 22, "Aktuelle", "#ffffff", anchor="middle") + t(46, 34, "Wetterlage", "#ffffff", anchor="middle"))
    days = ["MO", "DI", "MI", "DO", "FR", "SA", "SO"]
    for n in range(1, 8):
        grey = 0xE0 - 16 * (n - 1)
        colour = "#%02x%02x%02x" % (grey, grey, grey)
        cx = 92 + 42 * (n - 1) + 19.5
        o.append(t(cx, 22, days[n - 1], colour, anchor="middle")
                 + t(cx, 34, f"{8 + n:02d}.11.", colour, anchor="middle"))
        right = 130 + 42 * (n - 1)
        o.append(t(right, 136, f"{9 + n % 3}\u00b0", "#ff8080", bold=True, anchor="end"))
        o.append(t(right, 150, f"{2 + n % 4}\u00b0", "#8080ff", bold=True, anchor="end"))
        o.append(t(right, 166, f"{10 + 3 * n}", "#ffc0ff", anchor="end"))
        o.append(t(right, 180, f"{6 + 2 * n}", "#c0c0ff", anchor="end"))
        o.append(t(92 + 42 * (n - 1), 196, "UV:", "#c090ee", small))
        o.append(t(right + 1, 196, f"{n % 4}", "#c090ee", small, anchor="end"))
    o.append(t(8, 136, "7,4\u00b0C", "#ffff80", bold=True) + t(85, 136, "81%", "#ffff80", bold=True, anchor="end"))
    o.append(t(8, 152, "Gef\u00fchlt:", "#ffffc0", small) + t(85, 152, "4,9\u00b0C", "#ffffc0", small, anchor="end"))
    o.append(t(8, 166, "WSW", "#c0ffc0") + t(85, 166, "19 km/h", "#c0ffc0", anchor="end"))
    o.append(t(6, 180, "\u2197", "#c0ffff") + t(85, 180, "1016 mb", "#c0ffff", anchor="end"))
    o.append(t(8, 196, "UV-Index:", "#d0a0ff", small) + t(85, 196, "1", "#d0a0ff", small, anchor="end"))
    o.append("</svg>")
    return "".join(o)


def paste_keyed(dst, src, sx, sy, w, h, dx, dy):
    for y in range(h):
        for x in range(w):
            p = src[sy + y][3 * (sx + x):3 * (sx + x) + 3]
            if tuple(p) != KEY:
                dst[dy + y][3 * (dx + x):3 * (dx + x) + 3] = p


def face_preview(face, weather_rows, wind_rows, moon_rows, work):
    rows = [bytearray(r) for r in face]

    def weather_tile(n, dx, dy):
        paste_keyed(rows, weather_rows, ((n - 1) % 10) * 41, ((n - 1) // 10) * 41, 40, 40, dx, dy)

    weather_tile(3, 5, 51)
    paste_keyed(rows, moon_rows, 40 * 2, 0, 39, 39, 46, 51)        # waxing crescent
    paste_keyed(rows, wind_rows, 40 * 3, 0, 39, 39, 5, 92)         # sector 4: from WSW
    for y in range(100, 124):                                      # satellite thumbnail stand-in
        for x in range(50, 82):
            v = 40 + ((x * 7 + y * 3) % 50)
            rows[y][3 * x:3 * x + 3] = bytes((v // 2, v, v + 30))
    days = [(2, 35), (13, 40), (18, 7), (22, 44), (29, 38), (4, 33), (1, 34)]
    for n, (day, night) in enumerate(days):
        x = COLUMN_X[n + 1]
        weather_tile(day, x, 51)
        weather_tile(night, x, 92)
    text = pixels.render_svg(face_text_svg(), 388, 213, os.path.join(work, "face-text.svg"),
                             os.path.join(work, "face-text.png"))
    for y in range(213):
        for x in range(388):
            r, g, b, a = text[y][4 * x:4 * x + 4]
            if a:
                base = rows[y][3 * x:3 * x + 3]
                rows[y][3 * x:3 * x + 3] = bytes((c * a + d * (255 - a) + 127) // 255
                                                 for c, d in zip((r, g, b), base))
    return rows


# --- main ------------------------------------------------------------------------
def keyed_sheet(name, width, height, cols, rows, cell, draw, out, work):
    """Renders, keys and writes one sheet; returns its RGB rows."""
    svg = sheet_svg(width, height, cols, rows, cell, draw)
    rgba = pixels.render_svg(svg, width, height, os.path.join(work, name + ".svg"),
                             os.path.join(work, name + "-rgba.png"))
    rgb = pixels.key_out(rgba, KEY, MATTE, THRESHOLD)
    pixels.write_bmp24(os.path.join(out, name + ".bmp"), width, rgb)
    pixels.write_png(os.path.join(out, name + ".png"), width, rgb)
    return rgb


def main():
    out, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)

    weather_rows = keyed_sheet("weather", 410, 205, 10, 5, 41, weather.tile, out, work)
    wind_rows = keyed_sheet("wind", 320, 80, 8, 2, 40, wind_tile, out, work)
    moon_rows = keyed_sheet("moon", 320, 40, 8, 1, 40, moon_tile, out, work)

    rgba = pixels.render_svg(background_svg(), 388, 213, os.path.join(work, "background.svg"),
                             os.path.join(work, "background-rgba.png"))
    rgb = pixels.flatten(rgba)
    pixels.write_bmp24(os.path.join(out, "background.bmp"), 388, rgb)
    pixels.write_png(os.path.join(out, "background.png"), 388, rgb)
    pixels.write_png(os.path.join(out, "preview-face.png"), 388,
                     face_preview(rgb, weather_rows, wind_rows, moon_rows, work))

    images = []
    for size in (16, 32, 48):
        rows = pixels.render_svg(app_icon_svg(size), size, size,
                                 os.path.join(work, f"icon{size}.svg"),
                                 os.path.join(work, f"icon{size}.png"))
        images.append((size, rows))
        pixels.write_png(os.path.join(out, f"wolkenglas-{size}.png"), size, rows, alpha=True)
    pixels.write_icon_file(os.path.join(out, "wolkenglas.ico"), images)

    for name, svg, hotspot in (("hand", hand_svg(), (10, 1)), ("move", move_svg(), (16, 16)),
                               ("close", close_svg(), (1, 1))):
        rows = pixels.render_svg(svg, 32, 32, os.path.join(work, name + ".svg"),
                                 os.path.join(work, name + ".png"))
        pixels.write_icon_file(os.path.join(out, name + ".cur"), [(32, rows)], cursor_hotspot=hotspot)
        pixels.write_png(os.path.join(out, name + "-cursor.png"), 32, rows, alpha=True)


if __name__ == "__main__":
    main()
