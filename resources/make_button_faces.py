#!/usr/bin/python3
"""Draws the faces of the main window's two image buttons (resources/buttons/*.bmp):
65 x 19 pixels, a raised face and a pressed one for each, stored as 8-bit BMPs (a face has
about twenty colours) to keep Pelorin.exe small."""
import os

from bmp_writer import save_indexed_bmp

WIDTH, HEIGHT = 65, 19


def face(top, bottom, pressed):
    """The face as rows of (r, g, b): a vertical gradient with a light and a dark edge."""
    rows = []
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        if pressed:
            t = 1 - t
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        rows.append([colour] * WIDTH)
    light, dark = (170, 200, 240), (10, 20, 40)
    if pressed:
        light, dark = dark, light
    for x in range(WIDTH):
        rows[0][x] = light
    for y in range(HEIGHT):
        rows[y][0] = light
    for x in range(WIDTH):
        rows[HEIGHT - 1][x] = dark
    for y in range(HEIGHT):
        rows[y][WIDTH - 1] = dark
    return rows


def save_bmp8(rows, path):
    palette = sorted({colour for row in rows for colour in row})
    index = {colour: i for i, colour in enumerate(palette)}
    save_indexed_bmp(path, WIDTH, HEIGHT, 8, palette, lambda x, y: index[rows[y][x]], compressed=True)


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "buttons")
    faces = {
        "save-normal": face((60, 100, 170), (10, 40, 90), False),
        "save-pressed": face((20, 50, 110), (5, 25, 60), True),
        "keypad-normal": face((50, 110, 150), (10, 50, 80), False),
        "keypad-pressed": face((15, 60, 95), (5, 30, 50), True),
    }
    for name, rows in faces.items():
        save_bmp8(rows, os.path.join(folder, name + ".bmp"))


if __name__ == "__main__":
    main()
