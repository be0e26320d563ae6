#!/usr/bin/env python3
"""Builds the reader's icon font from an open icon set.

The product writes its toolbar and panel glyphs as one-character texts (IconFontGlyphs.h and a
few literals); the table (IconFontIcons.txt) names the icon each of those code points shows.
This script copies those icons' outlines out of the icon set's font into a new font whose
family is the name the reader asks for, maps each code point to its icon, and writes the icon
set's licence beside it.

Each glyph's advance is the width the platform's text metric gives its code point
(platform/ui/TextMetrics.h): 0.3 em for the narrow characters, 0.6 em for upper-case letters
and digits, 0.5 em for the rest. The icon is centred on that advance, so a glyph drawn from the
line origin the metric lays out sits centred where the layout measured it, and reaches past its
advance on both sides as a full-size icon.
"""

import argparse
import re
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.recordingPen import DecomposingRecordingPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

NARROW = set(" \t.,:;!|il'")


def metric_advance(code_point, units_per_em):
    """The text metric's advance of a code point, in font units."""
    char = chr(code_point)
    if char in NARROW:
        factor = 0.3
    elif "A" <= char <= "Z" or "0" <= char <= "9":
        factor = 0.6
    else:
        factor = 0.5
    return round(factor * units_per_em)


def fail(message):
    sys.exit("make-icon-font: " + message)


def read_table(path):
    """Code point -> icon name, in the table's order."""
    table = {}
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            match = re.fullmatch(r"U\+([0-9A-Fa-f]{4,6})", fields[0])
            if not match or len(fields) < 2:
                fail(f"{path}:{number}: expected 'U+XXXX icon-name ...'")
            code_point = int(match.group(1), 16)
            if code_point in table:
                fail(f"{path}:{number}: U+{code_point:04X} is listed twice")
            table[code_point] = fields[1]
    icons = list(table.values())
    reused = sorted({icon for icon in icons if icons.count(icon) > 1})
    if reused:
        fail(f"{path}: each icon may stand for one code point only: {', '.join(reused)}")
    return table


def read_header_glyphs(path):
    """Constant name -> code point of every glyph constant the header defines."""
    glyphs = {}
    pattern = re.compile(r'inline\s+constexpr\s+const\s+char\s*\*\s*(\w+)\s*=\s*"((?:[^"\\]|\\.)*)"')
    with open(path, encoding="utf-8") as header:
        for name, literal in pattern.findall(header.read()):
            raw = re.sub(r"\\x([0-9a-fA-F]{2})", lambda m: chr(int(m.group(1), 16)), literal)
            raw = raw.replace('\\"', '"').replace("\\\\", "\\")
            text = raw.encode("latin-1").decode("utf-8")
            if len(text) != 1:
                fail(f"{path}: {name} is not one character")
            glyphs[name] = ord(text)
    if not glyphs:
        fail(f"{path}: no glyph constants found")
    return glyphs


def read_codepoints(path):
    """Icon name -> code point in the icon set's font, from its stylesheet variables."""
    with open(path, encoding="utf-8") as variables:
        return {name: int(value, 16) for name, value in re.findall(r'"([a-z0-9_]+)":\s*([0-9a-f]+)', variables.read())}


def build(args):
    table = read_table(args.table)
    missing = sorted((code, name) for name, code in read_header_glyphs(args.header).items() if code not in table)
    if missing:
        fail("no icon for " + ", ".join(f"{name} (U+{code:04X})" for code, name in missing) + f" in {args.table}")

    source = TTFont(args.icons)
    units_per_em = source["head"].unitsPerEm
    source_cmap = source.getBestCmap()
    source_glyphs = source.getGlyphSet()
    icon_code_points = read_codepoints(args.codepoints)

    glyph_order = [".notdef"]
    character_map = {}
    outlines = {}
    metrics = {}

    notdef = TTGlyphPen(None)
    outlines[".notdef"] = notdef.glyph()
    metrics[".notdef"] = (metric_advance(0x20, units_per_em), 0)

    for code_point, icon in table.items():
        if icon not in icon_code_points or icon_code_points[icon] not in source_cmap:
            fail(f"the icon set has no icon named '{icon}' (for U+{code_point:04X})")
        source_name = source_cmap[icon_code_points[icon]]
        source_advance = source["hmtx"][source_name][0]
        advance = metric_advance(code_point, units_per_em)
        recording = DecomposingRecordingPen(source_glyphs)
        source_glyphs[source_name].draw(recording)
        pen = TTGlyphPen(None)
        recording.replay(TransformPen(pen, (1, 0, 0, 1, (advance - source_advance) // 2, 0)))
        glyph = pen.glyph()
        glyph.recalcBounds(None)
        glyph_order.append(icon)
        outlines[icon] = glyph
        metrics[icon] = (advance, getattr(glyph, "xMin", 0))
        character_map[code_point] = icon

    family = args.family
    builder = FontBuilder(units_per_em, isTTF=True)
    builder.setupGlyphOrder(glyph_order)
    builder.setupCharacterMap(character_map)
    builder.setupGlyf(outlines)
    builder.setupHorizontalMetrics(metrics)
    ascent = source["hhea"].ascent
    descent = source["hhea"].descent
    builder.setupHorizontalHeader(ascent=ascent, descent=descent)
    builder.setupNameTable({
        "copyright": source["name"].getDebugName(0) or "",
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": f"{family}-Regular",
        "fullName": family,
        "psName": family,
        "version": "Version 1.0",
        "licenseDescription": "Icons of an open icon set under the Apache License, Version 2.0; see "
        f"{family}-LICENSE.txt beside this font.",
    })
    builder.setupOS2(sTypoAscender=ascent, sTypoDescender=descent, sTypoLineGap=0, usWinAscent=ascent,
        usWinDescent=max(0, -descent), achVendID="NONE", fsType=0)
    builder.setupPost(keepGlyphNames=True)
    builder.save(args.output)

    if args.licence_output:
        with open(args.licence_output, "w", encoding="utf-8") as licence:
            licence.write(f"{family}.ttf holds icons copied from the icon font {args.icons}\n"
                "(the Debian package fonts-material-design-icons-iconfont). Its copyright and licence:\n\n")
            for path in (args.copyright, args.licence_text):
                if path:
                    with open(path, encoding="utf-8") as part:
                        licence.write(part.read().rstrip() + "\n\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", required=True, help="code point to icon table")
    parser.add_argument("--header", required=True, help="IconFontGlyphs.h, whose every constant needs an icon")
    parser.add_argument("--icons", required=True, help="the icon set's TrueType font")
    parser.add_argument("--codepoints", required=True, help="the icon set's name to code point variables")
    parser.add_argument("--copyright", help="the icon set's copyright file")
    parser.add_argument("--licence-text", help="the full text of the icon set's licence")
    parser.add_argument("--family", default="LectoroIcons", help="the font's family and face name")
    parser.add_argument("--output", required=True, help="the font to write")
    parser.add_argument("--licence-output", help="where to write the icon set's licence")
    build(parser.parse_args())


if __name__ == "__main__":
    main()
