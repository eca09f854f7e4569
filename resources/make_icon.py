#!/usr/bin/python3
"""Draws the name editor's icon (resources/pelorin.ico): a yellow caret and a red bar on the
band colour, at 32 x 32 alone: Windows draws the small icon from it, and a 16 x 16 entry
would cost 707 bytes in each program. Needs python3-pil."""
import os
from PIL import Image, ImageDraw

BAND = (0, 65, 124, 255)


def draw(size):
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    s = size / 32
    d.rounded_rectangle((0, 0, size - 1, size - 1), radius=int(5 * s), fill=BAND)
    d.line([(7 * s, 17 * s), (16 * s, 6 * s), (25 * s, 17 * s)], fill=(255, 255, 0, 255),
           width=max(2, int(4 * s)))
    d.rectangle((7 * s, 22 * s, 25 * s, 26 * s), fill=(255, 0, 0, 255))
    return image


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pelorin.ico")
    draw(32).save(path, sizes=[(32, 32)])


if __name__ == "__main__":
    main()
