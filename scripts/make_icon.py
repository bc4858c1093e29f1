#!/usr/bin/env python3
"""Draws Fernquill's program icon (a quill over a fern frond) into PNG files.

Run once when the design changes; the PNGs live in resources/ and are compiled
into the program. Uses only the standard library.
"""
import math
import struct
import zlib
from pathlib import Path


def png(path, size, pixels):
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in pixels)

    def chunk(kind, data):
        c = struct.pack(">I", len(data)) + kind + data
        return c + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    Path(path).write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
                           chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def blend(dst, src, a):
    return tuple(int(d * (1 - a) + s * a) for d, s in zip(dst, src))


def draw(size):
    ss = 4  # supersampling
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    u = (x + (sx + 0.5) / ss) / size
                    v = (y + (sy + 0.5) / ss) / size
                    acc = [a + b for a, b in zip(acc, sample(u, v))]
            row.append(tuple(int(c / (ss * ss)) for c in acc))
        out.append(row)
    return out


def sample(u, v):
    # rounded square background
    r = 0.18
    dx = max(abs(u - 0.5) - (0.5 - r), 0)
    dy = max(abs(v - 0.5) - (0.5 - r), 0)
    if math.hypot(dx, dy) > r - 0.02:
        return (0, 0, 0, 0)
    col = blend((32, 74, 135), (20, 46, 92), v)
    # fern frond: a stem curving up with leaflets
    for i in range(9):
        t = i / 8
        sx, sy = 0.28 + 0.10 * t, 0.86 - 0.62 * t
        for side in (-1, 1):
            ang = math.radians(35) * side
            length = 0.17 * (1 - 0.7 * t)
            ex, ey = sx + side * length * math.cos(ang), sy - length * math.sin(abs(ang))
            d = seg_dist(u, v, sx, sy, ex, ey)
            if d < 0.028 * (1 - 0.5 * t):
                col = (98, 178, 84)
    if seg_dist(u, v, 0.28, 0.88, 0.38, 0.22) < 0.016:
        col = (70, 140, 60)
    # quill: a white feather on the diagonal with a dark nib
    qx0, qy0, qx1, qy1 = 0.34, 0.78, 0.82, 0.14
    d = seg_dist(u, v, qx0, qy0, qx1, qy1)
    t = proj(u, v, qx0, qy0, qx1, qy1)
    width = 0.02 + 0.09 * math.sin(math.pi * min(max((t - 0.15) / 0.85, 0), 1))
    if t > 0.15 and d < width:
        col = blend(col, (245, 245, 240), 0.95)
    if d < 0.012 and t > 0.0:
        col = (200, 200, 190) if t > 0.15 else (30, 30, 30)
    return (*col, 255)


def proj(px, py, x0, y0, x1, y1):
    vx, vy = x1 - x0, y1 - y0
    return ((px - x0) * vx + (py - y0) * vy) / (vx * vx + vy * vy)


def seg_dist(px, py, x0, y0, x1, y1):
    t = min(max(proj(px, py, x0, y0, x1, y1), 0), 1)
    return math.hypot(px - (x0 + t * (x1 - x0)), py - (y0 + t * (y1 - y0)))


if __name__ == "__main__":
    root = Path(__file__).resolve().parent.parent / "resources"
    for s in (16, 32, 48, 128):
        png(root / f"fernquill-{s}.png", s, draw(s))
