#!/usr/bin/env python3
"""Writes the long sample EPUBs: plain prose from a fixed seed, so every run writes the same
bytes. sample-long-epub is a left-to-right book of twelve chapters (a few hundred KB) that
paginates into many pages; sample-rtl-epub is a short book whose spine runs right to left.

    scripts/make-long-epub.py [SAMPLES_FOLDER]   (default: samples/books)
"""

import os
import random
import sys

PLACES = ["the harbour", "the quay", "the old mill", "the salt marsh", "the ferry landing", "the north cliff",
          "the boathouse", "the net loft", "the chapel yard", "the shingle bank", "the weir", "the causeway"]
PEOPLE = ["the keeper", "the ferryman", "Marta", "old Tobin", "the miller's daughter", "the harbour master",
          "the two brothers", "the schoolteacher", "a stranger in a grey coat", "the net mender"]
THINGS = ["a lantern", "a coil of rope", "a tin of biscuits", "the logbook", "a brass compass", "a wet dog",
          "a basket of mussels", "the spare oars", "a letter with no stamp", "a jar of tar"]
WEATHER = ["a thin rain", "a low fog", "a bright cold wind", "the first frost", "a warm haze", "a sudden squall"]
VERBS = ["carried", "mended", "counted", "forgot", "painted", "hid", "weighed", "lost", "found", "polished"]
WATER_LINES = [
    "The water in {place} was the colour of slate.",
    "Water ran down the steps and pooled by the door.",
    "{person} said the water had never been so still.",
    "By noon the water had risen past the second mark.",
    "WATER, said the sign by the pump, in letters a hand high.",
    "Nobody trusted the water after the storm.",
    "{person} listened to the water knocking under the boards.",
]
PLAIN_LINES = [
    "{person} {verb} {thing} near {place}.",
    "In {weather}, {person} walked to {place} and back again.",
    "{person} kept {thing} on the shelf above the stove.",
    "The gulls were loud over {place} that morning.",
    "It was {weather} when {person} first noticed {thing}.",
    "Someone had left {thing} at {place}, and {person} {verb} it.",
    "{person} wrote the day's numbers in pencil and underlined the last one.",
    "There was bread, a little cheese, and tea that had gone cold.",
]


def sentence(rng):
    lines = WATER_LINES if rng.random() < 0.18 else PLAIN_LINES
    return rng.choice(lines).format(place=rng.choice(PLACES), person=rng.choice(PEOPLE), thing=rng.choice(THINGS),
                                    weather=rng.choice(WEATHER), verb=rng.choice(VERBS))


def paragraph(rng):
    text = " ".join(sentence(rng) for _ in range(rng.randint(5, 10)))
    return text[0].upper() + text[1:]


def chapter_xhtml(title, paragraphs, lang):
    body = "\n".join("  <p>%s</p>" % p for p in paragraphs)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE html>\n'
            '<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops" lang="%s">\n'
            '<head><title>%s</title></head>\n<body>\n  <h1>%s</h1>\n%s\n</body>\n</html>\n') % (lang, title, title, body)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


def make_book(folder, title, identifier, chapters, paragraphs_per_chapter, seed, rtl):
    rng = random.Random(seed)
    write(os.path.join(folder, "mimetype"), "application/epub+zip")
    write(os.path.join(folder, "META-INF", "container.xml"),
          '<?xml version="1.0" encoding="UTF-8"?>\n'
          '<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">\n'
          '  <rootfiles>\n    <rootfile full-path="OEBPS/package.opf" media-type="application/oebps-package+xml"/>\n'
          '  </rootfiles>\n</container>\n')
    titles = []
    for number in range(1, chapters + 1):
        chapter_title = "Chapter %d: %s" % (number, rng.choice(PLACES).replace("the ", "The ", 1))
        titles.append(chapter_title)
        paragraphs = [paragraph(rng) for _ in range(paragraphs_per_chapter)]
        write(os.path.join(folder, "OEBPS", "text", "chapter-%02d.xhtml" % number),
              chapter_xhtml(chapter_title, paragraphs, "en"))
    items = "\n".join('    <item id="ch%02d" href="text/chapter-%02d.xhtml" media-type="application/xhtml+xml"/>'
                      % (n, n) for n in range(1, chapters + 1))
    refs = "\n".join('    <itemref idref="ch%02d"/>' % n for n in range(1, chapters + 1))
    direction = ' page-progression-direction="rtl"' if rtl else ''
    write(os.path.join(folder, "OEBPS", "package.opf"),
          '<?xml version="1.0" encoding="UTF-8"?>\n'
          '<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="book-id" xml:lang="en">\n'
          '  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">\n'
          '    <dc:identifier id="book-id">%s</dc:identifier>\n'
          '    <dc:title>%s</dc:title>\n    <dc:language>en</dc:language>\n'
          '    <dc:creator>Lectoro Samples</dc:creator>\n'
          '    <meta property="dcterms:modified">2024-01-01T00:00:00Z</meta>\n'
          '    <meta property="rendition:layout">reflowable</meta>\n  </metadata>\n'
          '  <manifest>\n    <item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>\n'
          '%s\n  </manifest>\n  <spine%s>\n%s\n  </spine>\n</package>\n' % (identifier, title, items, direction, refs))
    entries = "\n".join('      <li><a href="text/chapter-%02d.xhtml">%s</a></li>' % (n, t)
                        for n, t in enumerate(titles, start=1))
    write(os.path.join(folder, "OEBPS", "nav.xhtml"),
          '<?xml version="1.0" encoding="UTF-8"?>\n<!DOCTYPE html>\n'
          '<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops" lang="en">\n'
          '<head><title>Contents</title></head>\n<body>\n  <nav epub:type="toc" id="toc">\n    <h1>Contents</h1>\n'
          '    <ol>\n%s\n    </ol>\n  </nav>\n</body>\n</html>\n' % entries)


def main():
    samples = sys.argv[1] if len(sys.argv) > 1 else os.path.join("samples", "books")
    make_book(os.path.join(samples, "sample-long-epub"), "A Year at the Harbour",
              "urn:uuid:7d1e2c40-3b5a-4f1e-9a77-2c6b1d0e4f10", 12, 60, 20240501, False)
    make_book(os.path.join(samples, "sample-rtl-epub"), "Tides Read Backwards",
              "urn:uuid:7d1e2c40-3b5a-4f1e-9a77-2c6b1d0e4f11", 3, 30, 20240502, True)


if __name__ == "__main__":
    main()
