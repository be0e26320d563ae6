#pragma once

// The faces the renderer sets a book's text in, and their glyph advances. The page is
// drawn (print::Canvas, through Cairo and FreeType) from the same font files whose
// horizontal metrics lay it out here, so a line measured to fit its column is drawn
// inside it. The body is the bundle's regular text face, headings its bold face.
//
// A face's advances are read once from its file (cmap and hmtx); the advances of one
// face at one size are kept for the process, the ASCII ones in a table. When no face
// file can be read the platform's deterministic metric stands in, and pages are drawn
// in the system face.

#include "platform/ui/Font.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace companion {

enum class TextFace : uint8_t { Body, Heading };

class FaceFile;

// One face at one size. Immutable once made, so layouts on any thread share it.
class GlyphAdvances {
public:
    GlyphAdvances(const FaceFile*, TextFace, double pointSize);

    double pointSize() const { return m_pointSize; }
    TextFace face() const { return m_face; }
    // The advance of a code point (a character outside the face: its missing glyph's).
    double advance(char32_t codePoint) const
    {
        return codePoint < m_ascii.size() ? m_ascii[codePoint] : advanceOutsideAscii(codePoint);
    }
    // The advance of the UTF-8 text, read as one run.
    double widthOf(std::string_view utf8) const;
    // The font the painter draws this face and size with.
    const ui::Font& font() const { return m_font; }

private:
    double advanceOutsideAscii(char32_t) const;

    const FaceFile* m_file;
    TextFace m_face;
    double m_pointSize;
    ui::Font m_font;
    std::array<double, 128> m_ascii {};
};

// The advances of a face at a size, made on first use and kept.
const GlyphAdvances& glyphAdvances(TextFace, double pointSize);

// The file a face is read from; absent when none could be read.
std::optional<std::string> textFaceFile(TextFace);

// The size and face of a heading level (1 to 6) over a body size: h1 twice the body, then
// 1.5, 1.17, 1, 0.83 and 0.67 times, all in the heading face.
double headingSize(int level, double bodySize);

} // namespace companion
