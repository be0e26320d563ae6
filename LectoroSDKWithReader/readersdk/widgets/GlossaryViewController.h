#pragma once

// The glossary pop-up of a glossary markup: the term's initial, the term and its
// description, and one button per medium the entry carries ("media": {"kind", "path"},
// kind 0 audio, 1 video, 2 image, 3 web page). Choosing a medium reports its kind and path.

#include "platform/base/Value.h"
#include "platform/ui/Button.h"
#include "platform/ui/Color.h"
#include "platform/ui/Label.h"
#include "platform/ui/StackView.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace lectoro {

class GlossaryViewControllerDelegate {
public:
    virtual ~GlossaryViewControllerDelegate() = default;
    virtual void didSelectGlossaryItemWithType(int64_t kind, const std::string& path) = 0;
};

class GlossaryViewController : public ui::ViewController {
public:
    static std::shared_ptr<GlossaryViewController> create();
    std::string_view className() const override { return "GlossaryViewController"; }
    void loadView() override;

    std::shared_ptr<GlossaryViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<GlossaryViewControllerDelegate> delegate)
    {
        m_delegate = std::move(delegate);
    }

    // The book's glossary entry: {"term", "alphabet", "description", "synonym", "media"}.
    void setGlossaryItem(const base::Value&);
    const base::Value& glossaryItem() const { return m_item; }

    // The pop-up's ground (white until set).
    void setPopupBackgroundColor(const ui::Color&);
    void setIconColor(const ui::Color& color)
    {
        m_iconColor = color;
        refresh();
    }
    void setIconBorderColor(const ui::Color& color)
    {
        m_iconBorderColor = color;
        refresh();
    }
    void setAlphabetLabelColor(const ui::Color& color)
    {
        m_alphabetColor = color;
        refresh();
    }
    void setKeywordLabelColor(const ui::Color& color)
    {
        m_keywordColor = color;
        refresh();
    }
    void setDescriptionColor(const ui::Color& color)
    {
        m_descriptionColor = color;
        refresh();
    }

    std::shared_ptr<ui::Label> alphabetLabel();
    std::shared_ptr<ui::Label> keywordLabel();
    std::shared_ptr<ui::Label> descriptionLabel();
    const std::vector<std::shared_ptr<ui::Button>>& mediaButtons();

    // A tap on the entry's medium at that index; ignored past the list.
    void selectMediaAtIndex(size_t);

protected:
    GlossaryViewController() = default;

private:
    void refresh();

    base::Value m_item = base::Value::Dictionary {};
    ui::Color m_iconColor = ui::Color::black();
    ui::Color m_iconBorderColor = ui::Color::black();
    ui::Color m_alphabetColor = ui::Color::black();
    ui::Color m_keywordColor = ui::Color::black();
    ui::Color m_descriptionColor = ui::Color::black();
    std::shared_ptr<ui::Label> m_alphabet;
    std::shared_ptr<ui::Label> m_keyword;
    std::shared_ptr<ui::Label> m_description;
    ui::Color m_popupColor = ui::Color::white();
    std::shared_ptr<ui::View> m_ground;
    std::shared_ptr<ui::StackView> m_mediaRow;
    std::vector<std::shared_ptr<ui::Button>> m_media;
    std::weak_ptr<GlossaryViewControllerDelegate> m_delegate;
};

} // namespace lectoro
