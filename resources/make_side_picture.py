#!/usr/bin/python3
"""Draws the installer's side picture (resources/setup/SidePic.bmp), 136 x 330 pixels with
16 colours, stored as a 4-bit BMP to keep setup small. Needs python3-pil and DejaVu fonts."""
import os
from PIL import Image, ImageDraw, ImageFont

from bmp_writer import save_indexed_bmp

WIDTH, HEIGHT = 136, 330
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def draw():
    image = Image.new("RGB", (WIDTH, HEIGHT))
    d = ImageDraw.Draw(image)
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        d.line([(0, y), (WIDTH, y)], fill=(0, int(65 + 40 * t), int(124 + 60 * t)))
    d.line([(24, 110), (68, 50), (112, 110)], fill=(255, 255, 0), width=14)
    d.rectangle((24, 130, 112, 146), fill=(255, 0, 0))
    font = ImageFont.truetype(FONT, 22)
    d.text((WIDTH // 2, 200), "Pelorin", font=font, fill=(255, 255, 255), anchor="mm")
    small = ImageFont.truetype(FONT, 11)
    d.text((WIDTH // 2, 226), "player names", font=small, fill=(255, 255, 0), anchor="mm")
    d.text((WIDTH // 2, 242), "in colour", font=small, fill=(255, 255, 0), anchor="mm")
    return image.quantize(colors=16, dither=Image.Dither.NONE)


def save_bmp4(image, path):
    palette = image.getpalette()[: 16 * 3]
    palette += [0] * (48 - len(palette))
    colours = [tuple(palette[3 * i: 3 * i + 3]) for i in range(16)]
    save_indexed_bmp(path, WIDTH, HEIGHT, 4, colours, lambda x, y: image.getpixel((x, y)), compressed=True)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    save_bmp4(draw(), os.path.join(here, "setup", "SidePic.bmp"))
