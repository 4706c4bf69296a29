"""SVG building blocks for the weather, wind and moon pictures.

Every function returns an SVG fragment. Sizes are in the 40-unit box of one
tile. Gradients are user-space gradients with their own ids, so the puffs of
one cloud share one continuous shading without seams.
"""
import math

_ids = [0]


def uid(prefix):
    _ids[0] += 1
    return f"{prefix}{_ids[0]}"


def f(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


# --- colours ---------------------------------------------------------------
OUTLINE = "#141d29"          # thin dark rim that keeps shapes apart and legible on light taskbars
SUN_RAY = "#ffb42b"
CLOUD_TONES = {
    "white": ("#ffffff", "#c7d3e3"),
    "grey": ("#dfe6ef", "#97a6b9"),
    "dark": ("#a3b0c1", "#5b6a7e"),
    "storm": ("#8a97a9", "#47546a"),
}
RAIN = ("#8fd0ff", "#2f86e0")
ICE = ("#f2fcff", "#8fd8f5")


def linear(id_, x1, y1, x2, y2, stops):
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    return (f'<linearGradient id="{id_}" gradientUnits="userSpaceOnUse" x1="{f(x1)}" y1="{f(y1)}" '
            f'x2="{f(x2)}" y2="{f(y2)}">{s}</linearGradient>')


def radial(id_, cx, cy, r, stops, fx=None, fy=None):
    s = "".join(f'<stop offset="{o}" stop-color="{c}"/>' for o, c in stops)
    fxy = f' fx="{f(fx)}" fy="{f(fy)}"' if fx is not None else ""
    return (f'<radialGradient id="{id_}" gradientUnits="userSpaceOnUse" cx="{f(cx)}" cy="{f(cy)}" '
            f'r="{f(r)}"{fxy}>{s}</radialGradient>')


# --- sun -----------------------------------------------------------------------
def sun(cx, cy, r, rays=True, ray_len=None):
    g = uid("sun")
    out = [radial(g, cx - r * 0.35, cy - r * 0.35, r * 1.45,
                  [(0, "#fff7c2"), (0.45, "#ffd84a"), (1, "#ff9a1f")])]
    if rays:
        ray_len = ray_len or max(2.6, r * 0.45)
        inner, outer = r + 1.9, r + 1.9 + ray_len
        for k in range(8):
            a = math.radians(k * 45 + 22.5 * 0)
            x1, y1 = cx + inner * math.cos(a), cy + inner * math.sin(a)
            x2, y2 = cx + outer * math.cos(a), cy + outer * math.sin(a)
            out.append(f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" '
                       f'stroke="{OUTLINE}" stroke-width="3.6" stroke-linecap="round"/>')
            out.append(f'<line x1="{f(x1)}" y1="{f(y1)}" x2="{f(x2)}" y2="{f(y2)}" '
                       f'stroke="{SUN_RAY}" stroke-width="2.1" stroke-linecap="round"/>')
    out.append(f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r + 0.8)}" fill="{OUTLINE}"/>')
    out.append(f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r)}" fill="url(#{g})"/>')
    return "".join(out)


# --- moon ----------------------------------------------------------------------
def lit_path(cx, cy, r, phase):
    """Outline of the lit part of the moon for phase 0..1 (0 new, 0.25 first
    quarter, 0.5 full, 0.75 last quarter), lit side on the right while waxing,
    as seen from the northern hemisphere."""
    phase %= 1.0
    rx = abs(math.cos(2 * math.pi * phase)) * r
    top, bottom = f"{f(cx)},{f(cy - r)}", f"{f(cx)},{f(cy + r)}"
    if phase < 0.5:   # limb on the right
        limb = f"M{top} A{f(r)},{f(r)} 0 0 1 {bottom}"
        sweep = 0 if phase < 0.25 else 1
    else:             # limb on the left
        limb = f"M{top} A{f(r)},{f(r)} 0 0 0 {bottom}"
        sweep = 1 if phase > 0.75 else 0
    if rx < 0.05:
        return f"{limb} L{top} Z"
    return f"{limb} A{f(rx)},{f(r)} 0 0 {sweep} {top} Z"


def crescent(cx, cy, r, tilt=-25, phase=0.79):
    """The night pictures' moon: a fat crescent, its light on the left (phase
    above 0.5) or, for a moon peeking out on the right, on the right."""
    g = uid("moon")
    path = lit_path(0, 0, r, phase)
    return (radial(g, -r * 0.6, -r * 0.4, r * 1.8, [(0, "#fffbe6"), (0.6, "#fbe7a6"), (1, "#e5c66d")])
            + f'<g transform="translate({f(cx)},{f(cy)}) rotate({tilt})">'
            f'<path d="{path}" fill="{OUTLINE}" stroke="{OUTLINE}" stroke-width="1.7" '
            f'stroke-linejoin="round"/>'
            f'<path d="{path}" fill="url(#{g})"/></g>')


def sparkle(cx, cy, s, colour="#fff4c7"):
    """A four-pointed star with a dark rim."""
    p = (f"M{f(cx)},{f(cy - s)} Q{f(cx + s * 0.18)},{f(cy - s * 0.18)} {f(cx + s)},{f(cy)} "
         f"Q{f(cx + s * 0.18)},{f(cy + s * 0.18)} {f(cx)},{f(cy + s)} "
         f"Q{f(cx - s * 0.18)},{f(cy + s * 0.18)} {f(cx - s)},{f(cy)} "
         f"Q{f(cx - s * 0.18)},{f(cy - s * 0.18)} {f(cx)},{f(cy - s)} Z")
    return (f'<path d="{p}" fill="{OUTLINE}" stroke="{OUTLINE}" stroke-width="1.4" stroke-linejoin="round"/>'
            f'<path d="{p}" fill="{colour}"/>')


# --- clouds --------------------------------------------------------------------
# A cloud in its own 30 x 18 box: three puffs on a flat, rounded base.
_PUFFS = [(9.2, 11.2, 5.6), (17.0, 8.2, 7.6), (24.2, 12.0, 5.0)]
_BASE = (3.6, 11.0, 25.4, 7.0, 3.5)  # x, y, w, h, corner radius


def cloud(x, y, w, tone="white", rim=1.1):
    """A cloud whose box of 30 x 18 is placed at x, y and scaled to width w."""
    s = w / 30.0
    top, bottom = CLOUD_TONES[tone]
    g = uid("cl")
    parts = [f'<circle cx="{f(cx)}" cy="{f(cy)}" r="{f(r)}"/>' for cx, cy, r in _PUFFS]
    bx, by, bw, bh, br = _BASE
    parts.append(f'<rect x="{f(bx)}" y="{f(by)}" width="{f(bw)}" height="{f(bh)}" rx="{f(br)}"/>')
    shapes = "".join(parts)
    return (linear(g, 0, 0.5, 0, 18, [(0, top), (1, bottom)])
            + f'<g transform="translate({f(x)},{f(y)}) scale({f(s)})">'
            f'<g fill="{OUTLINE}" stroke="{OUTLINE}" stroke-width="{f(2 * rim / s)}" '
            f'stroke-linejoin="round">{shapes}</g>'
            f'<g fill="url(#{g})">{shapes}</g>'
            # a soft light along the top of the puffs
            f'<path d="M8.4,7.6 A5.6,5.6 0 0 1 12.4,6.4 M13.4,3.2 A7.6,7.6 0 0 1 21.5,2.5" fill="none" '
            f'stroke="#ffffff" stroke-opacity="0.55" stroke-width="{f(1.0 / s)}" stroke-linecap="round"/>'
            '</g>')


# --- precipitation and other marks ---------------------------------------------
def drop(x, y, s=1.15, colours=RAIN):
    g = uid("dr")
    p = "M0,-3.4 C0.9,-1.8 2.1,-0.5 2.1,0.9 A2.1,2.1 0 0 1 -2.1,0.9 C-2.1,-0.5 -0.9,-1.8 0,-3.4 Z"
    return (linear(g, 0, -3.4, 0, 3, [(0, colours[0]), (1, colours[1])])
            + f'<g transform="translate({f(x)},{f(y)}) rotate(20) scale({f(s)})">'
            f'<path d="{p}" fill="{OUTLINE}" stroke="{OUTLINE}" stroke-width="1.6" stroke-linejoin="round"/>'
            f'<path d="{p}" fill="url(#{g})"/></g>')


def flake(x, y, r=3.2, colour="#ffffff", width=1.6):
    arms = []
    for k in range(3):
        a = math.radians(90 + k * 60)
        dx, dy = r * math.cos(a), r * math.sin(a)
        arms.append(f"M{f(x - dx)},{f(y - dy)} L{f(x + dx)},{f(y + dy)}")
    d = " ".join(arms)
    return (f'<path d="{d}" stroke="{OUTLINE}" stroke-width="{f(width + 1.6)}" stroke-linecap="round"/>'
            f'<path d="{d}" stroke="{colour}" stroke-width="{f(width)}" stroke-linecap="round"/>'
            f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(width * 0.75)}" fill="{colour}"/>')


def pellet(x, y, r=1.6):
    return (f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(r + 0.8)}" fill="{OUTLINE}"/>'
            f'<circle cx="{f(x)}" cy="{f(y)}" r="{f(r)}" fill="#eefaff"/>')


def bolt(x, y, s=1.0):
    """A lightning bolt whose top sits at x, y."""
    p = "M3.2,0 L8.6,0 L5.8,5.6 L9.6,5.6 L1.6,15.6 L3.9,8.2 L0.4,8.2 Z"
    g = uid("bo")
    return (linear(g, 0, 0, 0, 15.6, [(0, "#fff3a0"), (1, "#ffbf1f")])
            + f'<g transform="translate({f(x)},{f(y)}) scale({f(s)})">'
            f'<path d="{p}" fill="{OUTLINE}" stroke="{OUTLINE}" stroke-width="{f(1.8 / s)}" '
            f'stroke-linejoin="round"/>'
            f'<path d="{p}" fill="url(#{g})"/></g>')


def bars(rows, colour="#d5dde8", width=2.4):
    """Horizontal haze or fog bars: rows of (x1, x2, y)."""
    out = []
    for x1, x2, y in rows:
        out.append(f'<line x1="{f(x1)}" y1="{f(y)}" x2="{f(x2)}" y2="{f(y)}" stroke="{OUTLINE}" '
                   f'stroke-width="{f(width + 1.6)}" stroke-linecap="round"/>')
    for x1, x2, y in rows:
        out.append(f'<line x1="{f(x1)}" y1="{f(y)}" x2="{f(x2)}" y2="{f(y)}" stroke="{colour}" '
                   f'stroke-width="{f(width)}" stroke-linecap="round"/>')
    return "".join(out)


def icicles(rows):
    """Icicles hanging from a line: rows of (x, top, length)."""
    g = uid("ic")
    out = [linear(g, 0, min(t for _, t, _ in rows), 0, max(t + n for _, t, n in rows),
                  [(0, ICE[0]), (1, ICE[1])])]
    paths = []
    for x, t, n in rows:
        paths.append(f"M{f(x - 2.1)},{f(t)} L{f(x + 2.1)},{f(t)} L{f(x + 0.2)},{f(t + n)} "
                     f"L{f(x - 0.2)},{f(t + n)} Z")
    d = " ".join(paths)
    out.append(f'<path d="{d}" fill="{OUTLINE}" stroke="{OUTLINE}" stroke-width="1.6" '
               f'stroke-linejoin="round"/>')
    out.append(f'<path d="{d}" fill="url(#{g})"/>')
    return "".join(out)


def thermometer(x, y, level, colour):
    """A thermometer whose tube top is at x, y; level 0..1 fills the tube."""
    tube_h, bulb_r = 20.0, 4.6
    cx = x
    bulb_y = y + tube_h + 2.5
    fill_top = y + 2 + (tube_h - 2) * (1 - level)
    outline = (f'<rect x="{f(cx - 3.6)}" y="{f(y - 0.8)}" width="7.2" height="{f(tube_h + 2)}" '
               f'rx="3.6" fill="{OUTLINE}"/>'
               f'<circle cx="{f(cx)}" cy="{f(bulb_y)}" r="{f(bulb_r + 0.9)}" fill="{OUTLINE}"/>')
    glass = (f'<rect x="{f(cx - 2.6)}" y="{f(y)}" width="5.2" height="{f(tube_h + 1)}" rx="2.6" '
             f'fill="#eef3f9"/>'
             f'<circle cx="{f(cx)}" cy="{f(bulb_y)}" r="{f(bulb_r)}" fill="#eef3f9"/>')
    liquid = (f'<rect x="{f(cx - 1.2)}" y="{f(fill_top)}" width="2.4" '
              f'height="{f(bulb_y - fill_top)}" rx="1.2" fill="{colour}"/>'
              f'<circle cx="{f(cx)}" cy="{f(bulb_y)}" r="{f(bulb_r - 1.4)}" fill="{colour}"/>')
    ticks = "".join(f'<line x1="{f(cx + 1.6)}" y1="{f(y + 4 + 4 * k)}" x2="{f(cx + 2.6)}" '
                    f'y2="{f(y + 4 + 4 * k)}" stroke="#8a99ad" stroke-width="0.8"/>' for k in range(4))
    return outline + glass + liquid + ticks


def wind_lines(x, y, s=1.0):
    """Three gusts with curled ends."""
    paths = [
        "M2,9 L22,9 C27,9 28.5,3.5 25,2.2 C22.5,1.3 20.6,3.4 21.6,5.4",
        "M0,16 L28,16 C33,16 34.5,21.5 31,22.8 C28.5,23.7 26.6,21.6 27.6,19.6",
        "M4,23 L16,23",
    ]
    d = " ".join(paths)
    return (f'<g transform="translate({f(x)},{f(y)}) scale({f(s)})" fill="none" stroke-linecap="round" '
            f'stroke-linejoin="round">'
            f'<path d="{d}" stroke="{OUTLINE}" stroke-width="{f(4.4 / s)}"/>'
            f'<path d="{d}" stroke="#e3eefa" stroke-width="{f(2.6 / s)}"/></g>')
