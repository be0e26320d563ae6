#pragma once

// The reflowable layout in force for the renderer: font family, pagination, reading mode,
// alignment, line spacing and margin. Stands in for the companion framework's shared
// reflowable configuration; the reader uses the shared instance, tests their own.

#include <cstdint>
#include <memory>
#include <string>

namespace lectoro {

class ReflowableReaderConfiguration {
public:
    static std::shared_ptr<ReflowableReaderConfiguration> sharedInstance();

    const std::string& reflowableFontFamily() const { return m_fontFamily; }
    void setReflowableFontFamily(std::string family) { m_fontFamily = std::move(family); }
    bool reflowablePagination() const { return m_pagination; }
    void setReflowablePagination(bool pagination) { m_pagination = pagination; }
    int64_t reflowableReaderMode() const { return m_readerMode; }
    void setReflowableReaderMode(int64_t mode) { m_readerMode = mode; }
    int64_t reflowableTextAlignment() const { return m_textAlignment; }
    void setReflowableTextAlignment(int64_t alignment) { m_textAlignment = alignment; }
    int64_t reflowableLineSpacing() const { return m_lineSpacing; }
    void setReflowableLineSpacing(int64_t spacing) { m_lineSpacing = spacing; }
    int64_t reflowableMargin() const { return m_margin; }
    void setReflowableMargin(int64_t margin) { m_margin = margin; }

    // Back to the defaults: the book's own font, pages, the default reading mode,
    // alignment, spacing and margin.
    void reflowableReaderDefaultConfiguration();

private:
    std::string m_fontFamily;
    bool m_pagination = true;
    int64_t m_readerMode = 3;
    int64_t m_textAlignment = 4;
    int64_t m_lineSpacing = 0;
    int64_t m_margin = 0;
};

} // namespace lectoro
