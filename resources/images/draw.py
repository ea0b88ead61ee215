#!/usr/bin/env python3
"""Draws Melodane's images and writes them in the forms both programs load.

Every picture is described once, in a unit square, as layers of shapes given by signed
distance functions; it is rendered at each size with 4 x 4 samples per pixel. The
icon's shapes also know their SVG elements, for the scalable icon.

    python3 resources/images/draw.py    (writes next to this file)
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
BLUE = (0, 102, 204)
WHITE = (255, 255, 255)


# --- signed distance functions, in unit coordinates (negative inside) ---------------
def rounded_box(cx, cy, hw, hh, r):
    def d(x, y):
        qx, qy = abs(x - cx) - hw + r, abs(y - cy) - hh + r
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - r
    d.svg = lambda paint: svg_element("rect", {"fill": paint}, x=cx - hw, y=cy - hh,
                                      width=2 * hw, height=2 * hh, rx=r)
    return d


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry, angle_deg=0.0):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)

    def d(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * ca + dy * sa, -dx * sa + dy * ca
        k = math.hypot(u / rx, v / ry)
        return (k - 1) * min(rx, ry)
    turn = f"rotate({angle_deg:g} {cx * SVG_SIZE:.2f} {cy * SVG_SIZE:.2f})"
    d.svg = lambda paint: svg_element("ellipse", {"fill": paint, "transform": turn},
                                      cx=cx, cy=cy, rx=rx, ry=ry)
    return d


def segment(x1, y1, x2, y2, half_width):
    def d(x, y):
        px, py, bx, by = x - x1, y - y1, x2 - x1, y2 - y1
        t = max(0.0, min(1.0, (px * bx + py * by) / (bx * bx + by * by)))
        return math.hypot(px - bx * t, py - by * t) - half_width
    d.svg = lambda paint: svg_element("line", {"stroke": paint, "stroke-linecap": "round"},
                                      x1=x1, y1=y1, x2=x2, y2=y2,
                                      **{"stroke-width": 2 * half_width})
    return d


def arc(cx, cy, r, half_width, start_deg, end_deg):
    """A ring piece from start to end angle (degrees, 0 = right, counter-clockwise
    on screen with y down meaning clockwise visually)."""
    def d(x, y):
        ang = math.degrees(math.atan2(y - cy, x - cx)) % 360
        s, e = start_deg % 360, end_deg % 360
        inside = (s <= ang <= e) if s <= e else (ang >= s or ang <= e)
        if inside:
            return abs(math.hypot(x - cx, y - cy) - r) - half_width
        ends = []
        for deg in (start_deg, end_deg):
            ex = cx + r * math.cos(math.radians(deg))
            ey = cy + r * math.sin(math.radians(deg))
            ends.append(math.hypot(x - ex, y - ey) - half_width)
        return min(ends)
    return d


def polygon(points):
    def d(x, y):
        best = float("inf")
        inside = False
        n = len(points)
        for i in range(n):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
            bx, by = x2 - x1, y2 - y1
            t = max(0.0, min(1.0, ((x - x1) * bx + (y - y1) * by) / (bx * bx + by * by)))
            best = min(best, math.hypot(x - x1 - bx * t, y - y1 - by * t))
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * bx / by:
                inside = not inside
        return -best if inside else best
    return d


def union(*shapes):
    def d(x, y):
        return min(s(x, y) for s in shapes)
    d.svg = lambda paint: "".join(s.svg(paint) for s in shapes)
    return d


def outline(shape, width):
    return lambda x, y: abs(shape(x, y)) - width


def vertical(top, bottom):
    """A colour that runs from `top` at y = 0 to `bottom` at y = 1."""
    def colour(x, y):
        return tuple(t + (b - t) * y for t, b in zip(top, bottom))
    colour.stops = (top, bottom)
    return colour


# --- rendering ------------------------------------------------------------------
def render(layers, size, samples=4):
    """layers: (shape, colour or colour function). Gives rows of (r, g, b, a) in 0..1."""
    image = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    r = g = b = a = 0.0
                    for shape, colour in layers:
                        # Edge softened over one sample in pixel units.
                        cover = max(0.0, min(1.0, 0.5 - shape(x, y) * size * samples / 2))
                        if cover <= 0:
                            continue
                        c = colour(x, y) if callable(colour) else colour
                        r = c[0] / 255 * cover + r * (1 - cover)
                        g = c[1] / 255 * cover + g * (1 - cover)
                        b = c[2] / 255 * cover + b * (1 - cover)
                        a = cover + a * (1 - cover)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = samples * samples
            # Colours were composited premultiplied; keep them so.
            row.append(tuple(v / n for v in acc))
        image.append(row)
    return image


def to_bytes(v):
    return max(0, min(255, int(round(v * 255))))


def straight(pixel):
    r, g, b, a = pixel
    if a <= 0:
        return (0, 0, 0, 0)
    return (to_bytes(r / a), to_bytes(g / a), to_bytes(b / a), to_bytes(a))


def premultiplied(pixel):
    return tuple(to_bytes(v) for v in pixel)


# --- file formats ----------------------------------------------------------------
def png(image):
    size_y, size_x = len(image), len(image[0])
    raw = b"".join(b"\0" + bytes(c for p in row for c in straight(p)) for row in image)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size_x, size_y, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(image, bits, mask=True, premultiply=False, height_factor=2):
    """A device-independent bitmap, bottom-up: header, pixels, and the AND mask."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * height_factor, 1, bits, 0, 0, 0, 0,
                         0, 0)
    rows = []
    for row in reversed(image):
        if bits == 32:
            data = b"".join(bytes((b, g, r, a)) for r, g, b, a in
                            (premultiplied(p) if premultiply else straight(p) for p in row))
        else:  # 24 bits over black where transparent; the mask cuts the shape out
            data = b"".join(bytes((b, g, r)) for r, g, b, a in (straight(p) for p in row))
            data += b"\0" * (-len(data) % 4)
        rows.append(data)
    body = header + b"".join(rows)
    if mask:
        for row in reversed(image):
            bits_row = 0
            for i, p in enumerate(row):
                if straight(p)[3] < 128:
                    bits_row |= 1 << (size - 1 - i)
            data = bits_row.to_bytes((size + 7) // 8, "big")
            body += data + b"\0" * (-len(data) % 4)
    return body


SVG_SIZE = 256  # the scalable picture's user units per unit length


def svg_element(name, extra, **lengths):
    """An SVG element: lengths in unit coordinates, scaled; `extra` attributes as they are."""
    attributes = [f'{k}="{v * SVG_SIZE:.2f}"' for k, v in lengths.items()]
    attributes += [f'{k}="{v}"' for k, v in extra.items()]
    return f"  <{name} {' '.join(attributes)}/>\n"


def svg(layers):
    """The layers as an SVG picture; a gradient runs over the whole picture, as rendered."""
    defs, body = [], []
    for shape, colour in layers:
        if callable(colour):
            top, bottom = (("#%02x%02x%02x" % c) for c in colour.stops)
            defs.append(f'  <linearGradient id="g{len(defs)}" gradientUnits="userSpaceOnUse" '
                        f'x1="0" y1="0" x2="0" y2="{SVG_SIZE}">'
                        f'<stop offset="0" stop-color="{top}"/>'
                        f'<stop offset="1" stop-color="{bottom}"/></linearGradient>\n')
            paint = f"url(#g{len(defs) - 1})"
        else:
            paint = "#%02x%02x%02x" % colour
        body.append(shape.svg(paint))
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{SVG_SIZE}" height="{SVG_SIZE}" '
            f'viewBox="0 0 {SVG_SIZE} {SVG_SIZE}">\n<defs>\n{"".join(defs)}</defs>\n'
            f'{"".join(body)}</svg>\n').encode()


def icon_file(entries, kind=1, hotspot=(0, 0)):
    """entries: (image, bits). kind 1 is an icon, 2 a cursor (planes/bits hold the
    hotspot)."""
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = []
    for image, bits in entries:
        size = len(image)
        blob = dib(image, bits)
        a, b = (hotspot if kind == 2 else (1, bits))
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, a, b, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def bmp_file(image):
    body = dib(image, 32, mask=False, premultiply=True, height_factor=1)
    return struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, 54) + body


# --- the pictures ----------------------------------------------------------------
def beamed_notes(dx=0.0, dy=0.0, scale=1.0, colour=WHITE):
    def at(x, y):
        return 0.5 + (x - 0.5) * scale + dx, 0.5 + (y - 0.5) * scale + dy

    h1, h2 = at(0.36, 0.70), at(0.66, 0.63)
    s1, s2 = at(0.445, 0.30), at(0.745, 0.23)
    shape = union(
        ellipse(*h1, 0.105 * scale, 0.075 * scale, -22),
        ellipse(*h2, 0.105 * scale, 0.075 * scale, -22),
        segment(*at(0.445, 0.68), *s1, 0.028 * scale),
        segment(*at(0.745, 0.61), *s2, 0.028 * scale),
        segment(*s1, *s2, 0.05 * scale),
    )
    return shape, colour


def icon_layers():
    return [
        (rounded_box(0.5, 0.5, 0.47, 0.47, 0.16), vertical((56, 150, 235), (0, 72, 160))),
        (rounded_box(0.5, 0.46, 0.37, 0.35, 0.1), vertical((40, 130, 225), (10, 96, 196))),
        beamed_notes(dy=-0.02, scale=0.95),
    ]


def logo_layers():
    keys = []
    for i in range(7):  # white keys along the bottom
        x = 0.12 + i * 0.108
        keys.append((rounded_box(x + 0.05, 0.78, 0.048, 0.13, 0.02), WHITE))
    for i in (0, 1, 3, 4, 5):  # black keys between them
        x = 0.12 + (i + 1) * 0.108
        keys.append((rounded_box(x, 0.72, 0.028, 0.075, 0.012), (24, 32, 48)))
    return ([(circle(0.5, 0.5, 0.48), vertical((70, 160, 240), (0, 70, 150)))]
            + keys + [beamed_notes(dy=-0.17, scale=0.62)])


def help_layers():
    question = union(
        arc(0.5, 0.38, 0.15, 0.055, 180, 60),
        segment(0.575, 0.51, 0.5, 0.57, 0.055),
        segment(0.5, 0.57, 0.5, 0.62, 0.055),
        circle(0.5, 0.77, 0.065),
    )
    return [
        (circle(0.5, 0.5, 0.47), vertical((56, 150, 235), (0, 82, 170))),
        (question, WHITE),
    ]


def cursor_layers():
    arrow = polygon([(0.06, 0.03), (0.06, 0.62), (0.2, 0.5), (0.3, 0.72), (0.38, 0.68),
                     (0.29, 0.47), (0.47, 0.47)])
    note = union(ellipse(0.66, 0.84, 0.1, 0.07, -22), segment(0.745, 0.82, 0.745, 0.45, 0.03),
                 segment(0.745, 0.45, 0.88, 0.58, 0.03))
    return [
        (outline(arrow, 0.03), WHITE),
        (arrow, BLUE),
        (outline(note, 0.03), WHITE),
        (note, BLUE),
    ]


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    icon = {s: render(icon_layers(), s) for s in (16, 22, 24, 32, 48, 64, 128, 256)}
    # 32 x 32 at 24 bits first, then 48, 32 and 16 at 32 bits.
    write("melodane.ico", icon_file([(icon[32], 24), (icon[48], 32), (icon[32], 32),
                                     (icon[16], 32)]))
    for s, image in icon.items():
        write(f"melodane-{s}.png", png(image))
    write("melodane.svg", svg(icon_layers()))

    logo = render(logo_layers(), 72)
    write("logo.bmp", bmp_file(logo))
    write("logo.png", png(logo))
    help_image = render(help_layers(), 32)
    write("help.bmp", bmp_file(help_image))
    write("help.png", png(help_image))

    cursor = render(cursor_layers(), 32)
    write("logo.cur", icon_file([(cursor, 32)], kind=2, hotspot=(2, 1)))
    write("logo-cursor.png", png(cursor))


if __name__ == "__main__":
    main()
