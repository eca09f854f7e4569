#!/usr/bin/python3
"""Makes the main window's stored button data (MainWindow.buttons) into a C++ table of plain
values, at build time: the editor then carries no reader of that text.

Usage: make_button_table.py <buttons text> <header to write>

The text is the one image_button/StoredButtons.h describes: a "[name]" line opens an instance,
then one property per line as key, type and value; lines starting with '#' are notes. Keys are
read without regard to case and a later line of the same key wins, as the control's property
store does. A key that the button does not read, a type that does not suit its property and
a number beyond its type stop the build with the line named."""
import math
import os
import struct
import sys

# The properties the button reads, in the order of its settings, with the stored types each
# takes; "_extentx" and "_extenty" are the window's own.
PROPERTIES = {
    "backcolor": ("backColor", "colour"),
    "forecolor": ("foreColor", "colour"),
    "enabled": ("enabled", "bool"),
    "font": ("font", "font"),
    "backstyle": ("backStyle", "int16"),
    "borderstyle": ("borderStyle", "int16"),
    "caption": ("caption", "text"),
    "resizeable": ("resizeable", "bool"),
    "captiondownxamount": ("captionDownXAmount", "float"),
    "captiondownyamount": ("captionDownYAmount", "float"),
    "captionmovewhenpressed": ("captionMoveWhenPressed", "bool"),
}
PICTURES = ("picturenormal", "picturepressed", "picture")
EXTENTS = ("_extentx", "_extenty")
# Which stored types a property of each kind takes; booleans and floats take whole numbers.
ACCEPTED = {
    "colour": ("int32",),
    "int16": ("int16",),
    "bool": ("bool", "int16", "int32"),
    "float": ("float", "int16", "int32"),
    "text": ("text",),
    "font": ("font",),
    "picture": ("picture",),
}


class Unreadable(Exception):
    pass


def split_lines(text):
    """Lines ended by CR LF or a lone CR, as the programs split text."""
    lines, start = [], 0
    while start < len(text):
        end = text.find("\r", start)
        if end < 0:
            lines.append(text[start:])
            break
        lines.append(text[start:end])
        start = end + 1
        if start < len(text) and text[start] == "\n":
            start += 1
    return lines


def next_word(rest):
    """The next word (a quoted one may hold spaces) and what follows it; None when a quote
    is not closed."""
    rest = rest.lstrip(" ")
    if rest.startswith('"'):
        end = rest.find('"', 1)
        if end < 0:
            return None, ""
        return rest[1:end], rest[end + 1:]
    end = rest.find(" ")
    return (rest, "") if end < 0 else (rest[:end], rest[end:])


def decimal(word):
    """A whole decimal number (sign, digits, decimal part), computed digit by digit as the
    programs do; None for anything else or for a number beyond a double."""
    if word is None:
        return None
    i, sign = 0, 1.0
    if word[:1] in ("-", "+"):
        sign = -1.0 if word[0] == "-" else 1.0
        i = 1
    value, digits = 0.0, False
    while i < len(word) and word[i].isdigit() and word[i].isascii():
        value, digits, i = value * 10 + int(word[i]), True, i + 1
    if i < len(word) and word[i] == ".":
        scale, i = 0.1, i + 1
        while i < len(word) and word[i].isdigit() and word[i].isascii():
            value, scale, digits, i = value + int(word[i]) * scale, scale / 10, True, i + 1
    if not digits or i != len(word) or not math.isfinite(value):
        return None
    return sign * value


def whole(value, low, high):
    """The value rounded to the nearest whole number, halves to the even one, when it fits."""
    rounded = round(value)
    if not low <= rounded <= high:
        raise Unreadable
    return rounded


def single(value):
    """The value as a 32-bit float, when it lies within a float's range."""
    if not abs(value) <= 3.4028234663852886e38:
        raise Unreadable
    return struct.unpack("<f", struct.pack("<f", value))[0]


def number(stored_type, rest):
    value = decimal(rest.lstrip(" "))
    if value is None:
        raise Unreadable
    if stored_type == "int16":
        return whole(value, -32768, 32767)
    if stored_type == "int32":
        # Colours may be stored unsigned: 2147483663 is the system colour 0x8000000F.
        value = whole(value, -2147483648, 4294967295)
        return value - (1 << 32) if value > 2147483647 else value
    if stored_type == "bool":
        return value != 0
    if stored_type == "float":
        return single(value)
    raise Unreadable


def value_of(stored_type, rest):
    if stored_type == "text":
        return rest.lstrip(" ")
    if stored_type == "picture":
        name = rest.lstrip(" ")
        if not name:
            raise Unreadable
        return name
    if stored_type == "font":
        name, rest = next_word(rest)
        numbers = []
        for _ in range(5):
            word, rest = next_word(rest)
            numbers.append(decimal(word))
        if not name or None in numbers:
            raise Unreadable
        size, weight, italic, underline, strikethrough = numbers
        return (name, single(size), whole(weight, -2147483648, 2147483647), italic != 0, underline != 0, strikethrough != 0)
    return number(stored_type, rest)


def parse(text):
    """The instances in the order they first appear, each a dict of folded key to
    (stored type, value, line text)."""
    buttons, current = {}, None
    for number_, line in enumerate(split_lines(text), 1):
        if not line or line.startswith("#"):
            continue
        if line.startswith("[") and line.endswith("]") and len(line) >= 2:
            current = buttons.setdefault(line[1:-1], {})
            continue
        try:
            key, rest = next_word(line)
            stored_type, rest = next_word(rest)
            key = (key or "").lower()
            kind = "picture" if key in PICTURES else "int32" if key in EXTENTS else PROPERTIES.get(key, (0, None))[1]
            if current is None or kind is None or stored_type not in ACCEPTED.get(kind, (kind,)):
                raise Unreadable
            current[key] = (stored_type, value_of(stored_type, rest), "line %d: %s" % (number_, line))
        except Unreadable:
            raise Unreadable("line %d: %s" % (number_, line)) from None
    return buttons


def cpp_text(text):
    out = '"'
    for byte in text.encode("latin-1"):
        char = chr(byte)
        if char in '"\\?':
            out += "\\" + char
        elif 32 <= byte < 127:
            out += char
        else:
            out += "\\%03o" % byte
    return out + '"'


def cpp_float(value):
    if value == int(value) and abs(value) < 1e9:
        return "%d.0f" % value
    return repr(value) + "f"


def cpp_value(stored_type, value, kind):
    if kind == "font":
        name, size, weight, italic, underline, strikethrough = value
        return "{%s, %s, %d, %s, %s, %s}" % (cpp_text(name), cpp_float(size), weight, *(
            "true" if flag else "false" for flag in (italic, underline, strikethrough)))
    if kind == "text":
        return cpp_text(value)
    if kind == "bool":
        return "true" if value else "false"
    if kind == "float":
        return cpp_float(value)
    if kind == "colour" and value < 0:
        return "static_cast<std::int32_t>(0x%08X)" % (value & 0xFFFFFFFF)
    return "%d" % value


def table(buttons):
    rows = []
    for name, stored in buttons.items():
        settings = []
        for key, (member, kind) in PROPERTIES.items():
            if key in stored:
                settings.append(".%s = %s" % (member, cpp_value(stored[key][0], stored[key][1], kind)))
        pictures = []
        for key in PICTURES:
            if key in stored:
                pictures.append("{%s, %s}" % (cpp_text(stored[key][1]), cpp_text(stored[key][2])))
            else:
                pictures.append("{}")
        extents = [stored[key][1] if key in stored else 0 for key in EXTENTS]
        rows.append("    {%s, %d, %d,\n     {%s},\n     {%s}}," % (cpp_text(name), extents[0], extents[1],
                                                                   ", ".join(settings), ", ".join(pictures)))
    return ("// Made from MainWindow.buttons by resources/make_button_table.py at build time.\n"
            "#pragma once\n\n#include \"StoredButton.h\"\n\nnamespace pelorin {\n\n"
            "inline constexpr StoredButton kMainWindowButtons[] = {\n%s\n};\n\n}  // namespace pelorin\n"
            % "\n".join(rows))


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, "rb") as file:
        text = file.read().decode("latin-1")
    try:
        header = table(parse(text))
    except Unreadable as error:
        sys.exit("%s: %s" % (source, error))
    with open(target + ".tmp", "w", newline="\n") as file:
        file.write(header)
    os.replace(target + ".tmp", target)


if __name__ == "__main__":
    main()
