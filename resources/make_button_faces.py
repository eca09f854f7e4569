#!/usr/bin/python3
"""Draws the faces of the main window's two image buttons (resources/buttons/*.bmp):
65 x 19 pixels, a raised face and a pressed one for each. Needs python3-pil."""
import os
from PIL import Image, ImageDraw

WIDTH, HEIGHT = 65, 19


def face(top, bottom, pressed):
    image = Image.new("RGB", (WIDTH, HEIGHT))
    d = ImageDraw.Draw(image)
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        if pressed:
            t = 1 - t
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        d.line([(0, y), (WIDTH - 1, y)], fill=colour)
    light, dark = (170, 200, 240), (10, 20, 40)
    if pressed:
        light, dark = dark, light
    d.line([(0, 0), (WIDTH - 1, 0)], fill=light)
    d.line([(0, 0), (0, HEIGHT - 1)], fill=light)
    d.line([(0, HEIGHT - 1), (WIDTH - 1, HEIGHT - 1)], fill=dark)
    d.line([(WIDTH - 1, 0), (WIDTH - 1, HEIGHT - 1)], fill=dark)
    return image


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "buttons")
    faces = {
        "save-normal": face((60, 100, 170), (10, 40, 90), False),
        "save-pressed": face((20, 50, 110), (5, 25, 60), True),
        "keypad-normal": face((50, 110, 150), (10, 50, 80), False),
        "keypad-pressed": face((15, 60, 95), (5, 30, 50), True),
    }
    for name, image in faces.items():
        image.save(os.path.join(folder, name + ".bmp"))


if __name__ == "__main__":
    main()
