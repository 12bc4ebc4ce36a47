#!/usr/bin/env python3
"""Draws the program's icon, a small airport chart (two runways, a taxiway in the chart's green,
the airspace ring), as data/icons/orvane.svg, as PNG pictures of 48 and 256 pixels for
systems that show no SVG, and as data/icons/orvane.ico (16, 32, 48 and 256 pixels, each entry a
PNG) for the Windows program's resource. Shapes are described once and written to both forms; the PNG is
rasterised here with antialiased edges, so no drawing program is needed.
    tools/make_icon.py            (from any folder)
"""
import math
import os
import struct
import zlib

SIZE = 256
BACKGROUND = ('rect', (8, 8, 240, 240, 44), '#10243a')
SHAPES = [
    ('ring', (128, 128, 104, 6), '#3a6df0'),
    ('bar', (70, 46, 186, 210, 26), '#cfd6de'),
    ('bar', (36, 172, 220, 118, 26), '#cfd6de'),
    ('capsule', (120, 48, 195, 154, 9), '#00c000'),
]


def svg():
    x, y, w, h, r = BACKGROUND[1]
    out = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
           f'  <rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{BACKGROUND[2]}"/>']
    for kind, p, color in SHAPES:
        if kind == 'ring':
            out.append(f'  <circle cx="{p[0]}" cy="{p[1]}" r="{p[2]}" fill="none" stroke="{color}" '
                       f'stroke-width="{p[3]}"/>')
        else:
            cap = 'round' if kind == 'capsule' else 'butt'
            out.append(f'  <line x1="{p[0]}" y1="{p[1]}" x2="{p[2]}" y2="{p[3]}" stroke="{color}" '
                       f'stroke-width="{p[4]}" stroke-linecap="{cap}"/>')
    out.append('</svg>')
    return '\n'.join(out) + '\n'


def distance(kind, p, x, y):
    """Signed distance from (x, y) to the shape's edge, negative inside."""
    if kind == 'rect':
        left, top, w, h, r = p
        dx = max(abs(x - (left + w / 2)) - (w / 2 - r), 0.0)
        dy = max(abs(y - (top + h / 2)) - (h / 2 - r), 0.0)
        return math.hypot(dx, dy) - r
    if kind == 'ring':
        return abs(math.hypot(x - p[0], y - p[1]) - p[2]) - p[3] / 2
    x1, y1, x2, y2, width = p
    length = math.hypot(x2 - x1, y2 - y1)
    ux, uy = (x2 - x1) / length, (y2 - y1) / length
    along = (x - x1) * ux + (y - y1) * uy
    across = abs(-(x - x1) * uy + (y - y1) * ux)
    if kind == 'capsule':
        t = min(max(along, 0.0), length)
        return math.hypot(x - (x1 + ux * t), y - (y1 + uy * t)) - width / 2
    return max(across - width / 2, abs(along - length / 2) - length / 2)


def rgb(color):
    return tuple(int(color[i:i + 2], 16) for i in (1, 3, 5))


def png(pixels):
    scale = SIZE / pixels
    rows = []
    for py in range(pixels):
        row = bytearray([0])
        for px in range(pixels):
            x, y = (px + 0.5) * scale, (py + 0.5) * scale
            r = g = b = a = 0.0
            for kind, p, color in [BACKGROUND] + SHAPES:
                cover = min(max(0.5 - distance(kind, p, x, y) / scale, 0.0), 1.0)
                if cover == 0.0:
                    continue
                cr, cg, cb = rgb(color)
                r, g, b = (cr * cover + r * (1 - cover), cg * cover + g * (1 - cover),
                           cb * cover + b * (1 - cover))
                a = cover + a * (1 - cover)
            # The mix above is premultiplied by coverage; PNG keeps colour and alpha apart.
            if a > 0.0:
                r, g, b = r / a, g / a, b / a
            row += bytes([round(r), round(g), round(b), round(a * 255)])
        rows.append(bytes(row))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack('>IIBBBBB', pixels, pixels, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b''))


def ico(sizes):
    """An icon file whose entries are PNG pictures, as Windows reads them since Vista."""
    pictures = [png(pixels) for pixels in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for pixels, picture in zip(sizes, pictures):
        side = 0 if pixels >= 256 else pixels  # 0 stands for 256
        out += struct.pack('<BBBBHHII', side, side, 0, 0, 1, 32, len(picture), offset)
        offset += len(picture)
    return out + b''.join(pictures)


if __name__ == '__main__':
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data', 'icons')
    with open(os.path.join(folder, 'orvane.svg'), 'w') as f:
        f.write(svg())
    for pixels in (48, 256):
        with open(os.path.join(folder, f'orvane-{pixels}.png'), 'wb') as f:
            f.write(png(pixels))
    with open(os.path.join(folder, 'orvane.ico'), 'wb') as f:
        f.write(ico((16, 32, 48, 256)))
