#pragma once

// The reader's side of in-book search. The search panel and its controller arrive with
// the search subsystem; until then a requested search only keeps its text and no result
// is ever held.

#include <string>

namespace lectoro {

struct ReaderContext;

class ReaderSearch {
public:
    explicit ReaderSearch(ReaderContext&);

    void addSearchForText(const std::string& text, bool isElasticSearch);
    const std::string& searchTextStr() const { return m_searchText; }
    bool hasSearchResult() const { return false; }

    void enableNextButtonForElasticSearch(bool);
    void enablePreviousButtonForElasticSearch(bool);

    // File index (decimal text) of the first EPUB chapter whose href is exactly this;
    // "" for other books or no match.
    std::string getFileIndexForHREF(const std::string& href) const;
    // The same lookup answering the file index as a number; 0 when nothing matches.
    int64_t getHrefFromFileIndex(const std::string& href) const;

    void reloadSearchHighlightText();
    // The application is leaving the foreground: stop listening for a spoken search.
    void cancelVoiceRecognition();

private:
    ReaderContext& m_context;
    std::string m_searchText;
};

} // namespace lectoro
