#!/usr/bin/python3
"""The build-time reader of stored button data (resources/make_button_table.py): what it
refuses, and the values it writes into the table."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "resources"))
import make_button_table as generator  # noqa: E402


def row(text):
    return generator.table(generator.parse(text))


class ButtonTableTest(unittest.TestCase):
    def test_unreadable_lines_are_named(self):
        huge = "1" + "0" * 40
        for line in ["x int32 12", "caption text outside any instance", "forecolor int32 twelve",
                     "forecolor text 65535", "backstyle int16 99999", "backstyle int16 -32769",
                     "forecolor int32 4294967296", "forecolor int32 -2147483649", "forecolor int32 " + huge,
                     "captiondownxamount float " + huge, "captiondownxamount float 1" + "0" * 400,
                     "font font \"Arial\" " + huge + " 700 0 0 0", "font font \"Arial\" 8 1e3 0 0 0",
                     "font font \"Arial\" 8", "font font \"Arial 8 700 0 0 0", "picturenormal picture",
                     "caption novel Save", "enabled bool yes"]:
            text = ("[a]\r\n" if not line.startswith("caption text outside") else "") + line + "\r\n"
            with self.assertRaises(generator.Unreadable, msg=line) as refused:
                generator.parse(text)
            self.assertEqual(str(refused.exception), "line %d: %s" % (text.count("\r\n"), line))

    def test_values_keep_their_types_and_absent_keys_their_defaults(self):
        table = row("# notes\r\n[cmdGo]\r\n_EXTENTX int32 1720\r\nbackcolor int32 2147483663\r\n"
                    "ForeColor int32 65535\r\nenabled bool 0\r\nbackstyle int16 -32768\r\n"
                    "font font \"MS Sans Serif\" 8.25 700 0 1 0\r\ncaption text  \"Sa\\ve?\"\r\n"
                    "resizeable int16 5\r\ncaptiondownyamount float 7.1\r\ncaptionmovewhenpressed int32 0\r\n"
                    "picturepressed picture save_pressed\r\n[other]\r\ncaption text Other\r\n"
                    "[cmdGo]\r\ncaption text Save\r\n")
        self.assertIn('{"cmdGo", 1720, 0,\n     {.backColor = static_cast<std::int32_t>(0x8000000F), '
                      '.foreColor = 65535, .enabled = false, .font = {"MS Sans Serif", 8.25f, 700, false, true, '
                      'false}, .backStyle = -32768, .caption = "Save", .resizeable = true, '
                      '.captionDownYAmount = 7.099999904632568f, .captionMoveWhenPressed = false},\n'
                      '     {{}, {"save_pressed", "line 13: picturepressed picture save_pressed"}, {}}},', table)
        self.assertIn('{"other", 0, 0,\n     {.caption = "Other"},\n     {{}, {}, {}}},', table)
        self.assertLess(table.index('"cmdGo"'), table.index('"other"'))
        self.assertIn(r'"\"Sa\\ve\?\""', row("[a]\r\ncaption text \"Sa\\ve?\"\r\n"))


if __name__ == "__main__":
    unittest.main()
