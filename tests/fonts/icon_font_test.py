#!/usr/bin/env python3
"""The bundled icon font draws icons: every glyph the product writes is there, taken from the
icon set rather than from a text face, under the family name the reader asks for."""

import argparse
import importlib.util
import os
import sys
import unittest

from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

ARGS = None


def load_generator(path):
    spec = importlib.util.spec_from_file_location("make_icon_font", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def outline(font, glyph_name, dx=0, scale=1.0):
    """The glyph's outline as drawing commands, moved and scaled (to compare faces)."""
    glyphs = font.getGlyphSet()
    recording = DecomposingRecordingPen(glyphs)
    glyphs[glyph_name].draw(TransformPen(recording, (scale, 0, 0, scale, dx * scale, 0)))
    def rounded(point):
        return None if point is None else (round(point[0], 2), round(point[1], 2))

    return [(command, tuple(rounded(point) for point in points)) for command, points in recording.value]


def points(font, glyph_name):
    coordinates, _, _ = font["glyf"][glyph_name].getCoordinates(font["glyf"])
    return {(x, y) for x, y in coordinates}


class IconFontTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.generator = load_generator(ARGS.generator)
        cls.font = TTFont(ARGS.font)
        cls.icons = TTFont(ARGS.icons)
        cls.text = TTFont(ARGS.text_font)
        cls.table = cls.generator.read_table(ARGS.table)
        cls.constants = cls.generator.read_header_glyphs(ARGS.header)
        cls.icon_code_points = cls.generator.read_codepoints(ARGS.codepoints)

    def test_the_face_is_named_as_the_reader_asks_and_carries_its_licence(self):
        names = self.font["name"]
        for name_id in (1, 4, 6):
            self.assertEqual(names.getDebugName(name_id), "LectoroIcons")
        licence = os.path.join(os.path.dirname(ARGS.font), "LectoroIcons-LICENSE.txt")
        with open(licence, encoding="utf-8") as text:
            content = text.read()
        self.assertIn("Apache License", content)
        self.assertIn("Material Design", content)

    def test_every_glyph_constant_has_an_icon(self):
        cmap = self.font.getBestCmap()
        for constant, code_point in self.constants.items():
            with self.subTest(constant=constant):
                self.assertIn(code_point, cmap)
                self.assertEqual(cmap[code_point], self.table[code_point])

    def test_each_glyph_is_its_icon_set_outline_centred_on_the_metric_advance(self):
        cmap = self.font.getBestCmap()
        icons_cmap = self.icons.getBestCmap()
        em = self.font["head"].unitsPerEm
        self.assertEqual(em, self.icons["head"].unitsPerEm)
        for code_point, icon in self.table.items():
            with self.subTest(code_point=f"U+{code_point:04X}", icon=icon):
                glyph = cmap[code_point]
                self.assertEqual(glyph, icon)
                self.assertGreater(self.font["glyf"][glyph].numberOfContours, 0)
                advance = self.font["hmtx"][glyph][0]
                self.assertEqual(advance, self.generator.metric_advance(code_point, em))
                source = icons_cmap[self.icon_code_points[icon]]
                source_advance = self.icons["hmtx"][source][0]
                # The same contours through the same points (the copy may drop a point that only
                # repeats a contour's start).
                shift = (advance - source_advance) // 2
                copied = self.font["glyf"][glyph]
                original = self.icons["glyf"][source]
                self.assertEqual(copied.numberOfContours, original.numberOfContours)
                self.assertEqual(points(self.font, glyph), {(x + shift, y) for x, y in points(self.icons, source)})

    def test_no_glyph_is_the_text_face_letter_of_its_code_point(self):
        cmap = self.font.getBestCmap()
        text_cmap = self.text.getBestCmap()
        scale = self.font["head"].unitsPerEm / self.text["head"].unitsPerEm
        compared = 0
        for code_point, glyph in cmap.items():
            if code_point not in text_cmap:
                continue
            compared += 1
            with self.subTest(code_point=f"U+{code_point:04X}"):
                self.assertNotEqual(outline(self.font, glyph), outline(self.text, text_cmap[code_point], 0, scale))
        self.assertGreater(compared, 0)

    def test_a_constant_without_an_icon_fails_the_build(self):
        import tempfile

        with tempfile.TemporaryDirectory() as folder:
            header = os.path.join(folder, "Glyphs.h")
            with open(header, "w", encoding="utf-8") as out:
                out.write('inline constexpr const char* ICON_NEW = "\\xe2\\x98\\x83"; // U+2603\n')
            with self.assertRaises(SystemExit) as failure:
                self.generator.build(argparse.Namespace(table=ARGS.table, header=header, icons=ARGS.icons,
                    codepoints=ARGS.codepoints, copyright=None, licence_text=None, family="LectoroIcons",
                    output=os.path.join(folder, "out.ttf"), licence_output=None))
            self.assertIn("ICON_NEW (U+2603)", str(failure.exception))
            self.assertFalse(os.path.exists(os.path.join(folder, "out.ttf")))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("generator", "font", "icons", "codepoints", "table", "header", "text-font"):
        parser.add_argument("--" + option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
