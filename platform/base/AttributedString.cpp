#include "platform/base/AttributedString.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace base {

namespace {

// Invalid UTF-8 cannot be held by the platform's strings; replacing it here also keeps
// lengths additive when two texts are appended.
std::string sanitized(std::string_view text)
{
    return validUtf8(text);
}

} // namespace

bool TextAttributes::empty() const
{
    return !font && !foregroundColor && !backgroundColor && !underlineStyle && !paragraphStyle && !link
        && !baselineOffset;
}

void TextAttributes::merge(const TextAttributes& other)
{
    if (other.font)
        font = other.font;
    if (other.foregroundColor)
        foregroundColor = other.foregroundColor;
    if (other.backgroundColor)
        backgroundColor = other.backgroundColor;
    if (other.underlineStyle)
        underlineStyle = other.underlineStyle;
    if (other.paragraphStyle)
        paragraphStyle = other.paragraphStyle;
    if (other.link)
        link = other.link;
    if (other.baselineOffset)
        baselineOffset = other.baselineOffset;
}

AttributedString::AttributedString(std::string text, TextAttributes attributes)
    : m_text(sanitized(text))
    , m_length(utf16Length(m_text))
{
    if (m_length)
        m_runs.push_back(AttributedRun { Range { 0, m_length }, std::move(attributes) });
}

Range AttributedString::clampRange(Range range) const
{
    const size_t start = std::min(range.location, m_length);
    const size_t end = range.length > std::numeric_limits<size_t>::max() - range.location
        ? m_length
        : std::min(range.location + range.length, m_length);
    // Move a cut inside a surrogate pair before the pair.
    const auto snap = [&](size_t index) { return utf16Length(std::string_view(m_text).substr(0, utf8OffsetOfUtf16Index(m_text, index))); };
    const size_t snappedStart = snap(start);
    const size_t snappedEnd = std::max(snap(end), snappedStart);
    return Range { snappedStart, snappedEnd - snappedStart };
}

void AttributedString::splitAt(size_t index)
{
    for (size_t i = 0; i < m_runs.size(); ++i) {
        AttributedRun& run = m_runs[i];
        if (index > run.range.location && index < run.range.end()) {
            AttributedRun tail { Range { index, run.range.end() - index }, run.attributes };
            run.range.length = index - run.range.location;
            m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
            return;
        }
    }
}

void AttributedString::coalesce()
{
    std::vector<AttributedRun> merged;
    merged.reserve(m_runs.size());
    for (auto& run : m_runs) {
        if (!run.range.length)
            continue;
        if (!merged.empty() && merged.back().attributes == run.attributes
            && merged.back().range.end() == run.range.location) {
            merged.back().range.length += run.range.length;
            continue;
        }
        merged.push_back(std::move(run));
    }
    m_runs = std::move(merged);
}

namespace {

template<class Change>
void changeRuns(std::vector<AttributedRun>& runs, Range range, Change change)
{
    for (auto& run : runs) {
        if (run.range.location >= range.location && run.range.end() <= range.end())
            change(run.attributes);
    }
}

} // namespace

void AttributedString::addAttributes(Range range, const TextAttributes& attributes)
{
    const Range r = clampRange(range);
    if (!r.length)
        return;
    splitAt(r.location);
    splitAt(r.end());
    changeRuns(m_runs, r, [&](TextAttributes& a) { a.merge(attributes); });
    coalesce();
}

void AttributedString::setAttributes(Range range, const TextAttributes& attributes)
{
    const Range r = clampRange(range);
    if (!r.length)
        return;
    splitAt(r.location);
    splitAt(r.end());
    changeRuns(m_runs, r, [&](TextAttributes& a) { a = attributes; });
    coalesce();
}

void AttributedString::removeAttribute(Range range, TextAttributeKey key)
{
    const Range r = clampRange(range);
    if (!r.length)
        return;
    splitAt(r.location);
    splitAt(r.end());
    changeRuns(m_runs, r, [&](TextAttributes& a) {
        switch (key) {
        case TextAttributeKey::Font:
            a.font.reset();
            break;
        case TextAttributeKey::ForegroundColor:
            a.foregroundColor.reset();
            break;
        case TextAttributeKey::BackgroundColor:
            a.backgroundColor.reset();
            break;
        case TextAttributeKey::UnderlineStyle:
            a.underlineStyle.reset();
            break;
        case TextAttributeKey::ParagraphStyle:
            a.paragraphStyle.reset();
            break;
        case TextAttributeKey::Link:
            a.link.reset();
            break;
        case TextAttributeKey::BaselineOffset:
            a.baselineOffset.reset();
            break;
        }
    });
    coalesce();
}

void AttributedString::addFont(Range range, FontAttr font)
{
    TextAttributes attributes;
    attributes.font = std::move(font);
    addAttributes(range, attributes);
}

void AttributedString::addForegroundColor(Range range, ColorAttr color)
{
    TextAttributes attributes;
    attributes.foregroundColor = color;
    addAttributes(range, attributes);
}

void AttributedString::addUnderline(Range range, UnderlineStyle style)
{
    TextAttributes attributes;
    attributes.underlineStyle = style;
    addAttributes(range, attributes);
}

void AttributedString::addParagraphStyle(Range range, ParagraphStyleAttr style)
{
    TextAttributes attributes;
    attributes.paragraphStyle = style;
    addAttributes(range, attributes);
}

void AttributedString::addLink(Range range, std::string link)
{
    TextAttributes attributes;
    attributes.link = std::move(link);
    addAttributes(range, attributes);
}

void AttributedString::addBaselineOffset(Range range, double points)
{
    if (!std::isfinite(points))
        return;
    TextAttributes attributes;
    attributes.baselineOffset = points;
    addAttributes(range, attributes);
}

TextAttributes AttributedString::attributesAt(size_t index, Range* effectiveRange) const
{
    for (const auto& run : m_runs) {
        if (run.range.contains(index)) {
            if (effectiveRange)
                *effectiveRange = run.range;
            return run.attributes;
        }
    }
    if (effectiveRange)
        *effectiveRange = Range { m_length, 0 };
    return {};
}

std::vector<AttributedRun> AttributedString::runs() const
{
    return m_runs;
}

void AttributedString::append(const AttributedString& other)
{
    const size_t offset = m_length;
    m_text += other.m_text;
    m_length += other.m_length;
    for (const auto& run : other.m_runs)
        m_runs.push_back(AttributedRun { Range { run.range.location + offset, run.range.length }, run.attributes });
    coalesce();
}

void AttributedString::append(std::string_view text, const TextAttributes& attributes)
{
    append(AttributedString(std::string(text), attributes));
}

void AttributedString::replaceCharacters(Range range, std::string_view text)
{
    const Range r = clampRange(range);
    TextAttributes attributes;
    if (r.length)
        attributes = attributesAt(r.location);
    else if (r.location > 0)
        attributes = attributesAt(r.location - 1);
    AttributedString result = substring(Range { 0, r.location });
    result.append(AttributedString(std::string(text), attributes));
    result.append(substring(Range { r.end(), m_length - r.end() }));
    *this = std::move(result);
}

AttributedString AttributedString::substring(Range range) const
{
    const Range r = clampRange(range);
    AttributedString result;
    result.m_text = utf16Substring(m_text, r);
    result.m_length = r.length;
    for (const auto& run : m_runs) {
        const size_t start = std::max(run.range.location, r.location);
        const size_t end = std::min(run.range.end(), r.end());
        if (start < end)
            result.m_runs.push_back(AttributedRun { Range { start - r.location, end - start }, run.attributes });
    }
    return result;
}

bool operator==(const AttributedString& a, const AttributedString& b)
{
    return a.m_text == b.m_text && a.m_runs == b.m_runs;
}

} // namespace base
