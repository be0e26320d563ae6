#pragma once

// One row of the search panel's list: the snippet around a hit with the searched word
// marked, the chapter's title and the page's printed folio. Its labels are placed by
// constraints, so the row is as tall as its snippet.
//
// The cell builds the snippet; fillRow is the panel's row provider: it gives the row its
// identifier, snippet, chapter and page texts, their colours and the alternating
// background, setting every one of them anew so a reused row keeps nothing of another hit.

#include "LectoroSDKWithReader/readersdk/TextSearchController.h"
#include "platform/ui/Color.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/TableViewCell.h"

#include <memory>
#include <optional>
#include <string>

namespace ui {
class Label;
}

namespace lectoro {

class LectoroBookVO;
class LXMVThemeVO;

class SearchResultCell : public ui::TableViewCell {
public:
    static constexpr const char* reuseIdentifier = "SearchResultCell";

    static std::shared_ptr<SearchResultCell> create(ui::TableViewCellStyle, std::string reuseIdentifier);
    std::string_view className() const override { return "SearchResultCell"; }

    const std::shared_ptr<ui::Label>& contentLabel() const { return m_contentLabel; }
    const std::shared_ptr<ui::Label>& chapterNameLabel() const { return m_chapterNameLabel; }
    const std::shared_ptr<ui::Label>& pageNumberLabel() const { return m_pageNumberLabel; }

    // The snippet with every occurrence of the word marked, whatever its case.
    void setDataWithSeachResult(
        const TextSearchResult&, const ui::Color& selectedTextColor, const ui::Color& textColor);
    // Only whole words written exactly as searched are marked.
    void setCaseSensitioveDataWithSeachResult(
        const TextSearchResult&, const ui::Color& selectedTextColor, const ui::Color& textColor);

    static void fillRow(SearchResultCell&, const ui::IndexPath&, const std::shared_ptr<TextSearchResult>&,
        const std::shared_ptr<LectoroBookVO>&, const std::shared_ptr<LXMVThemeVO>&, bool caseSensitive);

protected:
    SearchResultCell(ui::TableViewCellStyle, std::string reuseIdentifier);

private:
    void build();

    std::shared_ptr<ui::Label> m_contentLabel;
    std::shared_ptr<ui::Label> m_chapterNameLabel;
    std::shared_ptr<ui::Label> m_pageNumberLabel;
};

} // namespace lectoro
