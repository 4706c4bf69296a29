"""The weather pictures, one per icon number of the weather service.

Each entry draws into a 40 x 40 box (tile 41 x 41 less its separator).
Day pictures carry a sun, night pictures a moon; numbers the service does
not use have no entry and stay empty.
"""
from shapes import (bars, bolt, cloud, crescent, drop, flake, icicles, pellet, sparkle, sun,
                    thermometer, wind_lines, ICE)


# --- skies ---------------------------------------------------------------------
def sky_clear(night):
    if night:
        return crescent(18, 20, 13, tilt=-20) + sparkle(31, 9, 4.4) + sparkle(32, 28, 3)
    return sun(20, 20, 9.2, ray_len=4.6)


def sky_mostly_clear(night):
    body = crescent(17, 16, 11, tilt=-20) if night else sun(17, 16, 8.4, ray_len=4)
    return body + cloud(16, 22.5, 22, "white")


def sky_partly(night):
    body = crescent(14, 14, 10, tilt=-20) if night else sun(14, 14, 7.6, ray_len=3.6)
    return body + cloud(8.5, 16.5, 30, "white")


def sky_intermittent(night):
    body = crescent(17, 15, 10.5, tilt=-20) if night else sun(17, 15, 7.6, ray_len=3.6)
    return body + cloud(21, 9, 18, "grey") + cloud(1, 20.5, 25, "white")


def sky_hazy(night):
    body = crescent(20, 15, 11, tilt=-20) if night else sun(20, 15, 8.2, ray_len=3.8)
    return body + bars([(6, 34, 28.5), (11, 30, 33.5), (4, 20, 38), (24, 36, 38)], "#e2d9c4")


def sky_mostly_cloudy(night):
    body = crescent(27, 10, 9, tilt=20, phase=0.21) if night else sun(27, 11, 6.0, ray_len=3)
    return body + cloud(1.5, 13, 34, "grey")


def small_body(night, big):
    """Sun or moon behind a cloud with precipitation; big for partly sunny/cloudy."""
    if night:
        return crescent(12, 11, 9.5, tilt=-20) if big else crescent(30, 8, 7.5, tilt=20, phase=0.21)
    return sun(12, 11, 6.6, ray_len=3.2) if big else sun(29.5, 8.5, 5.2, ray_len=2.5)


# --- precipitation under a cloud whose base ends near y 26 -----------------------
def showers():
    return drop(14, 31.5) + drop(25, 34.5)


def rain():
    return drop(10, 31) + drop(17.5, 35) + drop(25, 31) + drop(32.5, 35)


def flurries():
    return flake(14, 32, 3.9) + flake(26, 34.5, 3.9)


def snow():
    return flake(9.5, 31, 3.8) + flake(20, 34.8, 3.8) + flake(30.5, 31, 3.8)


def storm():
    return bolt(15.5, 22.5, 1.05) + drop(9, 33) + drop(30, 33)


def with_cloud(precip, tone="grey", body=None, x=3, y=5, w=34):
    return (body or "") + cloud(x, y, w, tone) + precip


# --- the table -------------------------------------------------------------------
def tile(n):
    """SVG fragment for icon n, or None for a number the service does not use."""
    day_small = small_body(False, False)
    day_big = small_body(False, True)
    night_small = small_body(True, False)
    night_big = small_body(True, True)
    table = {
        1: lambda: sky_clear(False),
        2: lambda: sky_mostly_clear(False),
        3: lambda: sky_partly(False),
        4: lambda: sky_intermittent(False),
        5: lambda: sky_hazy(False),
        6: lambda: sky_mostly_cloudy(False),
        7: lambda: cloud(12, 5, 26, "dark") + cloud(1.5, 13, 34, "grey"),
        8: lambda: cloud(12, 4, 27, "storm") + cloud(1.5, 12, 35, "dark")
        + bars([(6, 26, 36.5), (20, 34, 36.5)], "#8d9bad", 2.2),
        11: lambda: cloud(5, 2, 30, "grey")
        + bars([(4, 30, 26.5), (9, 36, 31.5), (4, 22, 36.5), (26, 34, 36.5)], "#cfd8e3"),
        12: lambda: with_cloud(showers(), "grey"),
        13: lambda: with_cloud(showers(), "grey", day_small),
        14: lambda: with_cloud(showers(), "white", day_big, x=6, y=7, w=31),
        15: lambda: with_cloud(storm(), "storm"),
        16: lambda: with_cloud(storm(), "storm", day_small),
        17: lambda: with_cloud(storm(), "dark", day_big, x=6, y=7, w=31),
        18: lambda: with_cloud(rain(), "dark"),
        19: lambda: with_cloud(flurries(), "grey"),
        20: lambda: with_cloud(flurries(), "grey", day_small),
        21: lambda: with_cloud(flurries(), "white", day_big, x=6, y=7, w=31),
        22: lambda: with_cloud(snow(), "grey"),
        23: lambda: with_cloud(snow(), "grey", day_small),
        24: lambda: icicles([(9, 24.5, 11), (15.5, 24.5, 14), (22, 24.5, 9), (28.5, 24.5, 12.5)])
        + cloud(3, 4, 34, "grey"),
        25: lambda: with_cloud(drop(10, 31) + pellet(18, 35) + drop(25, 31) + pellet(32, 35)
                               + pellet(17, 29.5, 1.3), "grey"),
        26: lambda: with_cloud(drop(11, 30.5, 1.05, ICE) + drop(21, 30.5, 1.05, ICE)
                               + drop(31, 30.5, 1.05, ICE)
                               + bars([(5, 35, 37.6)], ICE[1], 2.4), "grey"),
        29: lambda: with_cloud(drop(10, 31) + flake(19, 34.5, 3.2) + drop(27, 31)
                               + flake(33, 35, 3.0), "grey"),
        30: lambda: sun(28, 12, 6.2, ray_len=3) + thermometer(14, 8, 0.9, "#ff4b3a"),
        31: lambda: flake(29, 13, 6.6, "#dff4ff", 2.2) + thermometer(14, 8, 0.2, "#3b9bff"),
        32: lambda: wind_lines(2.5, 6.5, 1.02),
        33: lambda: sky_clear(True),
        34: lambda: sky_mostly_clear(True),
        35: lambda: sky_partly(True),
        36: lambda: sky_intermittent(True),
        37: lambda: sky_hazy(True),
        38: lambda: sky_mostly_cloudy(True),
        39: lambda: with_cloud(showers(), "white", night_big, x=6, y=7, w=31),
        40: lambda: with_cloud(showers(), "grey", night_small),
        41: lambda: with_cloud(storm(), "dark", night_big, x=6, y=7, w=31),
        42: lambda: with_cloud(storm(), "storm", night_small),
        43: lambda: with_cloud(flurries(), "grey", night_small),
        44: lambda: with_cloud(snow(), "grey", night_small),
    }
    make = table.get(n)
    return make() if make else None


USED = [n for n in range(1, 51) if n not in (9, 10, 27, 28) and n <= 44]
