#!/usr/bin/python3
"""Draws the program's icon (data/stripewright.svg, a picture made of rectangles) as a square
PNG of the given size for the toolbar button and menu entry.

    make_icon.py ICON.svg SIZE OUT.png
"""
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

SVG = "{http://www.w3.org/2000/svg}"
SAMPLES = 8  # per pixel and axis


def rectangles(svg_path):
    """[(x, y, w, h, rx, (r, g, b))] in drawing order, and the view box's size."""
    root = ET.parse(svg_path).getroot()
    _, _, width, height = (float(v) for v in root.get("viewBox").split())
    found = []

    def walk(node, fill):
        fill = node.get("fill", fill)
        if node.tag == SVG + "rect":
            colour = tuple(int(fill[i:i + 2], 16) for i in (1, 3, 5))
            found.append((float(node.get("x", 0)), float(node.get("y", 0)),
                          float(node.get("width")), float(node.get("height")),
                          float(node.get("rx", 0)), colour))
        for child in node:
            walk(child, fill)

    walk(root, "#000000")
    return found, width, height


def inside(px, py, rect):
    x, y, w, h, r, _ = rect
    if not (x <= px < x + w and y <= py < y + h):
        return False
    # Rounded corners: outside the quarter circle of radius r in each corner.
    cx = min(max(px, x + r), x + w - r)
    cy = min(max(py, y + r), y + h - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def render(svg_path, size):
    rects, width, height = rectangles(svg_path)
    scale = max(width, height) / size
    rows = []
    for j in range(size):
        row = bytearray()
        for i in range(size):
            red = green = blue = alpha = 0
            for sj in range(SAMPLES):
                for si in range(SAMPLES):
                    px = (i + (si + 0.5) / SAMPLES) * scale
                    py = (j + (sj + 0.5) / SAMPLES) * scale
                    for rect in reversed(rects):
                        if inside(px, py, rect):
                            r, g, b = rect[5]
                            red, green, blue, alpha = red + r, green + g, blue + b, alpha + 1
                            break
            n = SAMPLES * SAMPLES
            if alpha:
                row += bytes((red // alpha, green // alpha, blue // alpha, 255 * alpha // n))
            else:
                row += bytes(4)
        rows.append(b"\0" + bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def main():
    svg_path, size, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    with open(out, "wb") as f:
        f.write(png(size, render(svg_path, size)))


if __name__ == "__main__":
    main()
