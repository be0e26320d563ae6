#pragma once

// Translation and the immersive reader as the reader shell calls them. Both arrive with
// their own subsystem; until then neither sheet is ever open.

namespace lectoro {

struct ReaderContext;

class ReaderReadingAids {
public:
    explicit ReaderReadingAids(ReaderContext&);

    bool isTranslationOpen() const { return false; }
    void removeTranslationController();

private:
    ReaderContext& m_context;
};

} // namespace lectoro
