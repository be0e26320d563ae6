#include "LectoroSDKWithReader/annotations/notes/StickyNotesViewController.h"

#include "LectoroSDKWithReader/annotations/notes/NoteVoiceRecognizer.h"
#include "LectoroSDKWithReader/annotations/notes/StickyNotesSeat.h"
#include "LectoroSDKWithReader/foundation/AccessibilityIdentifiers.h"
#include "LectoroSDKWithReader/foundation/AlertView.h"
#include "LectoroSDKWithReader/foundation/IconFontGlyphs.h"
#include "LectoroSDKWithReader/foundation/LXMVThemeVO.h"
#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/foundation/MVReaderSettingModel.h"
#include "LectoroSDKWithReader/foundation/UIColorExpanded.h"
#include "LectoroSDKWithReader/foundation/UITextViewPlaceholder.h"
#include "LectoroSDKWithReader/readersdk/records/LectoroUser.h"
#include "LectoroSDKWithReader/readersdk/records/SDKHighlightVO.h"
#include "LectoroSDKWithReader/readersdk/utilities/AccessibilityHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/MVIconFontConstants.h"
#include "platform/base/RunLoop.h"
#include "platform/base/UserDefaults.h"
#include "platform/ui/Button.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"

namespace lectoro {

namespace {

constexpr const char* stickyAccessibilityTable = "ReaderLectoroAccessibility";
constexpr const char* instructorRole = "INSTRUCTOR";
constexpr const char* dictationLanguageKey = "SelectedLanguage";

ui::Font stickyCustomFont(double size, std::optional<ui::FontWeight> weight = std::nullopt)
{
    auto font = weight ? getCustomFontForWeight(size, *weight) : getCustomFont(size);
    return font ? *font : ui::Font::systemFont(size);
}

std::shared_ptr<ui::Button> stickyButton(const std::string& title = {})
{
    auto button = ui::Button::create(ui::ButtonType::Custom);
    if (!title.empty())
        button->setTitle(title);
    return button;
}

} // namespace

std::shared_ptr<StickyNotesViewController> StickyNotesViewController::create()
{
    auto controller = std::shared_ptr<StickyNotesViewController>(new StickyNotesViewController());
    controller->m_seat = std::make_shared<Seat>(*controller);
    return controller;
}

StickyNotesViewController::StickyNotesViewController() = default;

StickyNotesViewController::~StickyNotesViewController()
{
    *m_alive = false;
    if (m_seat)
        m_seat->detach();
}

std::string StickyNotesViewController::localized(const std::string& key) const
{
    return LocalizationHelper::localizedStringWithKey(key);
}

bool StickyNotesViewController::isPad() const
{
    return ui::Environment::current().isPad();
}

bool StickyNotesViewController::isReceived() const
{
    return m_record && m_record->isReceived;
}

bool StickyNotesViewController::isShared() const
{
    return m_record && m_record->isShare;
}

bool StickyNotesViewController::isInstructor() const
{
    return m_user && m_user->role == instructorRole;
}

bool StickyNotesViewController::isTeacherReviewNote() const
{
    return m_record && m_record->isTeacherReviewNote;
}

bool StickyNotesViewController::hasPassageText() const
{
    return m_record && !m_record->text.empty();
}

void StickyNotesViewController::onMain(std::function<void(StickyNotesViewController&)> work)
{
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    base::RunLoop::main().post([weak, work = std::move(work)] {
        if (auto self = weak.lock())
            work(static_cast<StickyNotesViewController&>(*self));
    });
}

std::string StickyNotesViewController::chosenColor() const
{
    if (m_selectedrow >= 0 && static_cast<size_t>(m_selectedrow) < m_colorsArray.size())
        return m_colorsArray[static_cast<size_t>(m_selectedrow)];
    return m_record ? m_record->backgroundColor.str() : std::string();
}

bool StickyNotesViewController::colorChanged() const
{
    return m_record && chosenColor() != m_record->backgroundColor;
}

bool StickyNotesViewController::textChanged() const
{
    return m_record && m_record->noteText != base::trimWhitespaceAndNewlines(m_noteTextView->text());
}

void StickyNotesViewController::setEnabled(ui::Button& button, bool enabled, double disabledAlpha)
{
    button.setEnabled(enabled);
    button.setAlpha(enabled ? 1.0 : disabledAlpha);
}

void StickyNotesViewController::applyHeaderColor(const std::string& hex)
{
    auto color = UIColorExpanded::colorWithHexString(hex);
    if (!color)
        return;
    m_headerView->setBackgroundColor(*color);
    m_backgroundView->setBackgroundColor(*color);
    m_footerView->setBackgroundColor(*color);
}

// MARK: - Views

void StickyNotesViewController::loadView()
{
    ui::ViewController::loadView();
    view()->setFrame(ui::Environment::current().screenBounds());
    // The page stays in sight behind the card, dimmed, so the card reads as on top of it.
    view()->setBackgroundColor(ui::Color::black().withAlpha(0.5));
    buildViews();
}

void StickyNotesViewController::buildViews()
{
    auto root = view();
    m_stickyNoteContainerView = ui::View::create();
    root->addSubview(m_stickyNoteContainerView);
    m_containerView = ui::View::create();
    m_stickyNoteContainerView->addSubview(m_containerView);
    m_backgroundView = ui::View::create();
    m_containerView->addSubview(m_backgroundView);
    m_footerView = ui::View::create();
    m_stickyNoteContainerView->addSubview(m_footerView);
    buildHeader();
    buildCard();
    buildCommentBar();

    // An iPad's card is centred, its areas as high as the height constraint says; a phone's
    // card reaches down to the keyboard by its bottom constraint. Each device's constraint
    // is the one that holds its card; the other only keeps its constant for the rules.
    m_cardHeight = m_containerView->heightAnchor().constraintEqualToConstant(StickyNoteRules::padCardHeightAtRest);
    m_cardBottom = root->bottomAnchor().constraintEqualTo(m_stickyNoteContainerView->bottomAnchor(), 0);
    // The card and its areas are placed by frames from these constraints' constants at
    // every layout pass (viewDidLayoutSubviews); active, they would pull against those
    // frames, so they stay data.
}

void StickyNotesViewController::buildHeader()
{
    m_headerView = ui::View::create();
    m_stickyNoteContainerView->addSubview(m_headerView);
    // The header's first subview carries the card's colour behind the buttons.
    m_headerView->addSubview(ui::View::create());
    m_backButton = stickyButton();
    m_titleButton = stickyButton();
    m_shareButton = stickyButton(ICON_SHARE_NOTE);
    m_deleteButton = stickyButton(ICON_DELETE_OUTLINE);
    // The "more" glyph opens the share/save pop-up.
    m_moreButton = stickyButton("\u013E");
    for (const auto& button : { m_backButton, m_titleButton, m_shareButton, m_deleteButton, m_moreButton })
        m_headerView->addSubview(button);
    m_shareWidth = m_shareButton->widthAnchor().constraintEqualToConstant(50.0);
    m_moreWidth = m_moreButton->widthAnchor().constraintEqualToConstant(56.0);

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto bind = [weak](ui::Button& button, void (StickyNotesViewController::*action)()) {
        button.addTarget(ui::ControlEvent::TouchUpInside, [weak, action](ui::Control&) {
            if (auto self = weak.lock())
                (static_cast<StickyNotesViewController&>(*self).*action)();
        });
    };
    bind(*m_backButton, &StickyNotesViewController::backbuttonAciton);
    bind(*m_deleteButton, &StickyNotesViewController::deleteButtonAction);
    bind(*m_shareButton, &StickyNotesViewController::shareButtonAction);
    bind(*m_moreButton, &StickyNotesViewController::moreButtonAction);
}

void StickyNotesViewController::buildCard()
{
    m_passageContainer = ui::View::create();
    m_selectedTextTextView = ui::TextView::create();
    m_selectedTextTextView->setEditable(false);
    m_passageContainer->addSubview(m_selectedTextTextView);
    m_separator = ui::View::create();
    m_noteContainer = ui::View::create();
    m_noteTextView = ui::TextView::create();
    m_noteTextView->setDelegate(m_seat);
    m_noteContainer->addSubview(m_noteTextView);
    m_micButton = stickyButton();
    m_micAnimateButton = stickyButton();
    m_noteContainer->addSubview(m_micAnimateButton);
    m_noteContainer->addSubview(m_micButton);
    m_timeLabel = ui::Label::create();
    m_colorStrip = ui::View::create();
    m_tableview = ui::TableView::create();
    m_postRow = ui::View::create();
    m_noteCancelButton = stickyButton();
    m_postButton = stickyButton();
    m_postRow->addSubview(m_noteCancelButton);
    m_postRow->addSubview(m_postButton);
    // The card's shared areas lie in the container; the time, the strip and the post row
    // below it, so the areas' rules share the container's height alone.
    for (const auto& part :
        { m_passageContainer, m_separator, m_noteContainer, std::static_pointer_cast<ui::View>(m_tableview) })
        m_containerView->addSubview(part);
    for (const auto& part : { std::static_pointer_cast<ui::View>(m_timeLabel), m_colorStrip, m_postRow })
        m_footerView->addSubview(part);

    m_passageHeight = m_passageContainer->heightAnchor().constraintEqualToConstant(0);
    m_separatorHeight = m_separator->heightAnchor().constraintEqualToConstant(1.0);
    m_noteTopGap = m_noteContainer->topAnchor().constraintEqualTo(m_separator->bottomAnchor(), 8.0);
    m_noteHeight = m_noteContainer->heightAnchor().constraintEqualToConstant(200.0);
    m_postRowHeight = m_postRow->heightAnchor().constraintEqualToConstant(postRowHeight);
    m_micWidth = m_micButton->widthAnchor().constraintEqualToConstant(40.0);
    m_stripWidth = m_colorStrip->widthAnchor().constraintEqualToConstant(0);

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    auto bind = [weak](ui::Button& button, void (StickyNotesViewController::*action)()) {
        button.addTarget(ui::ControlEvent::TouchUpInside, [weak, action](ui::Control&) {
            if (auto self = weak.lock())
                (static_cast<StickyNotesViewController&>(*self).*action)();
        });
    };
    bind(*m_postButton, &StickyNotesViewController::postButtonAction);
    bind(*m_noteCancelButton, &StickyNotesViewController::noteCancelButtonAction);
    bind(*m_micButton, &StickyNotesViewController::micButtonAciton);
}

void StickyNotesViewController::buildCommentBar()
{
    m_commentBar = ui::View::create();
    m_containerView->addSubview(m_commentBar);
    m_commentField = ui::TextField::create();
    m_commentField->setDelegate(m_seat);
    m_commentPostButton = stickyButton();
    m_commentMicButton = stickyButton();
    m_commentMicAnimateButton = stickyButton();
    for (const auto& part : { std::static_pointer_cast<ui::View>(m_commentField),
             std::static_pointer_cast<ui::View>(m_commentMicAnimateButton),
             std::static_pointer_cast<ui::View>(m_commentMicButton),
             std::static_pointer_cast<ui::View>(m_commentPostButton) })
        m_commentBar->addSubview(part);
    m_commentBoxHeight = m_commentBar->heightAnchor().constraintEqualToConstant(0);
    m_commentMicWidth = m_commentMicButton->widthAnchor().constraintEqualToConstant(40.0);

    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    m_commentPostButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto self = weak.lock())
            static_cast<StickyNotesViewController&>(*self).commentPostButton();
    });
    m_commentMicButton->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control&) {
        if (auto self = weak.lock())
            static_cast<StickyNotesViewController&>(*self).commentMicButtonAciton();
    });
}

std::shared_ptr<ui::Button> StickyNotesViewController::swatchAtIndex(size_t index) const
{
    return index < m_swatches.size() ? m_swatches[index] : nullptr;
}

// MARK: - Loading

void StickyNotesViewController::viewDidLoad()
{
    ui::ViewController::viewDidLoad();
    auto& center = base::NotificationCenter::defaultCenter();
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    m_observers.push_back(
        center.addObserver(ui::KeyboardWillShowNotification, nullptr, [weak](const base::Notification& note) {
            if (auto self = weak.lock())
                static_cast<StickyNotesViewController&>(*self).keyboardWillShow(note);
        }));
    m_observers.push_back(
        center.addObserver(ui::KeyboardWillHideNotification, nullptr, [weak](const base::Notification& note) {
            if (auto self = weak.lock())
                static_cast<StickyNotesViewController&>(*self).keyboardWillHide(note);
        }));
    registerCellsAndSetColorsDate();
    setupThemeColor();

    m_tapRecognizer = ui::TapGestureRecognizer::create([weak](ui::GestureRecognizer&) {
        if (auto self = weak.lock())
            static_cast<StickyNotesViewController&>(*self).dismissController();
    });
    m_tapRecognizer->setCancelsTouchesInView(false);
    m_tapRecognizer->setDelegate(m_seat);
    view()->addGestureRecognizer(m_tapRecognizer);

    setAccessibility();

    m_voiceManager = NoteVoiceRecognizer::create(m_seat);
    m_voiceManager->setAutoStopVoiceRecognizingTime(3);
    m_voiceManager->setLanguageCode(
        base::UserDefaults::standard().stringForKey(dictationLanguageKey).value_or(""));
    m_isVoiceManagerActive = false;

    m_observers.push_back(center.addObserver(
        ui::ApplicationWillResignActiveNotification, nullptr, [weak](const base::Notification&) {
            auto self = weak.lock();
            if (!self)
                return;
            auto& editor = static_cast<StickyNotesViewController&>(*self);
            if (editor.m_isVoiceManagerActive && editor.m_voiceManager)
                editor.m_voiceManager->cancelRecognization();
        }));
}

void StickyNotesViewController::registerCellsAndSetColorsDate()
{
    m_tableview->registerCellClass(StickyNoteCommentCell::reuseIdentifier,
        [](const std::string& identifier) -> std::shared_ptr<ui::TableViewCell> {
            return StickyNoteCommentCell::create(ui::TableViewCellStyle::Default, identifier);
        });
    auto footer
        = ui::View::create(ui::Rect { { 0, 0 }, { ui::Environment::current().screenSize().width, 0.1 } });
    m_tableview->setTableFooterView(footer);
    m_tableview->setRowHeight(ui::TableViewAutomaticDimension);
    m_tableview->setEstimatedRowHeight(90.0);
    m_tableview->setDataSource(m_seat);
    m_tableview->setDelegate(m_seat);

    m_colorsArray.clear();
    if (m_theme && m_theme->highlight_Color_Array()) {
        for (const auto& entry : *m_theme->highlight_Color_Array()) {
            if (auto text = entry.asString())
                m_colorsArray.push_back(*text);
        }
    }
    const double n = static_cast<double>(m_colorsArray.size());
    m_stripWidth->setConstant(isPad() ? n * 32.0 + n * 10.0 : n * 30.0 + n * 10.0);
    m_selectedrow = 0;
    reloadStrip();
}

void StickyNotesViewController::reloadStrip()
{
    const bool pad = isPad();
    // A swatch is a ring (the container, bordered in the selection colour) around an
    // inset disc of the colour (the button).
    const double side = pad ? 32.0 : 30.0;
    const double ringRadius = pad ? 16.0 : 15.0;
    const double discRadius = pad ? 11.0 : 10.0;
    constexpr double discInset = 5.0;
    if (m_swatches.size() != m_colorsArray.size()) {
        for (const auto& swatch : m_swatches) {
            if (auto ring = swatch->superview())
                ring->removeFromSuperview();
        }
        m_swatches.clear();
        std::weak_ptr<ui::ViewController> weak = weak_from_this();
        for (size_t index = 0; index < m_colorsArray.size(); ++index) {
            auto ring = ui::View::create(
                ui::Rect { { static_cast<double>(index) * (side + 10.0), 5.0 }, { side, side } });
            auto swatch = stickyButton();
            ring->addSubview(swatch);
            swatch->setTranslatesAutoresizingMaskIntoConstraints(false);
            ui::Constraint::activate({
                swatch->leadingAnchor().constraintEqualTo(ring->leadingAnchor(), discInset),
                ring->bottomAnchor().constraintEqualTo(swatch->bottomAnchor(), discInset),
                swatch->widthAnchor().constraintEqualToConstant(2 * discRadius),
                swatch->heightAnchor().constraintEqualToConstant(2 * discRadius),
            });
            swatch->setFrame(ui::Rect {
                { discInset, side - discInset - 2 * discRadius }, { 2 * discRadius, 2 * discRadius } });
            swatch->setTag(static_cast<int>(index) + 1);
            swatch->addTarget(ui::ControlEvent::TouchUpInside, [weak](ui::Control& control) {
                if (auto self = weak.lock())
                    static_cast<StickyNotesViewController&>(*self).didSelectColorButton(control.tag());
            });
            m_colorStrip->addSubview(ring);
            m_swatches.push_back(swatch);
        }
    }
    for (size_t index = 0; index < m_swatches.size(); ++index) {
        auto& swatch = *m_swatches[index];
        auto ring = swatch.superview();
        auto color = UIColorExpanded::colorWithHexString(m_colorsArray[index]);
        swatch.setBackgroundColor(color);
        swatch.layer()->setCornerRadius(discRadius);
        swatch.setClipsToBounds(true);
        ring->setBackgroundColor(ui::Color::clear());
        ring->layer()->setBorderWidth(1.0);
        ring->layer()->setCornerRadius(ringRadius);
        ring->setClipsToBounds(true);
        const bool selected = static_cast<int>(index) == m_selectedrow;
        ui::Color border = ui::Color::clear();
        if (selected && m_theme && m_theme->note_selected_icon_border())
            border = *m_theme->note_selected_icon_border();
        ring->layer()->setBorderColor(border);
        std::string hex = color ? "#" + UIColorExpanded::hexStringFromColor(*color) : m_colorsArray[index];
        swatch.setAccessibilityIdentifier("stickyNote_" + hex);
        std::string state = localized("ACCESSIBILITY_COLOR");
        if (selected)
            state = localized("ACCESSIBILITY_SELECTED") + " " + state;
        swatch.setAccessibilityLabel(AccessibilityHelper::accessibilityLabelForElementID(
            "ReaderHighlightPopUpColor", stickyAccessibilityTable, state + " " + std::to_string(index + 1)));
    }
}

void StickyNotesViewController::setupThemeColor()
{
    if (!m_theme)
        return;
    auto& theme = *m_theme;
    auto apply = [](const std::optional<ui::Color>& color, const std::function<void(const ui::Color&)>& set) {
        if (color)
            set(*color);
    };
    apply(theme.note_contextualtext_color(),
        [this](const ui::Color& c) { m_selectedTextTextView->setTextColor(c); });
    apply(theme.note_description_color(), [this](const ui::Color& c) { m_noteTextView->setTextColor(c); });
    apply(theme.note_note_text_color(), [this](const ui::Color& c) { m_timeLabel->setTextColor(c); });
    apply(theme.note_hint_text_color(),
        [this](const ui::Color& c) { UITextViewPlaceholder::setPlaceholderColor(*m_noteTextView, c); });
    apply(theme.note_popup_background(), [this](const ui::Color& c) {
        m_headerView->subviews().front()->setBackgroundColor(c);
        m_containerView->setBackgroundColor(c);
    });
    apply(theme.note_back_icon_color(), [this](const ui::Color& c) { m_backButton->setTitleColor(c); });
    apply(theme.share_icon_color(), [this](const ui::Color& c) {
        m_commentPostButton->setTitleColor(c);
        m_moreButton->setTitleColor(c);
        for (const auto& button : { m_shareButton, m_postButton, m_deleteButton }) {
            button->setTitleColor(c);
            button->setTitleColor(c.withAlpha(0.4), ui::ControlState::Disabled);
        }
        if (m_isAudioSearchNoteEnabled) {
            m_micButton->setTitleColor(c);
            m_commentMicButton->setTitleColor(c);
        }
    });
    apply(theme.note_title_color(), [this](const ui::Color& c) { m_titleButton->setTitleColor(c); });
    apply(theme.comments_bottom_panel_background(),
        [this](const ui::Color& c) { m_commentBar->setBackgroundColor(c); });
}

void StickyNotesViewController::setAccessibility()
{
    m_backButton->setAccessibilityIdentifier(STICKY_NOTE_BACK_BUTTON);
    m_titleButton->setAccessibilityIdentifier(STICKY_NOTE_TITLE_BUTTON);
    m_deleteButton->setAccessibilityIdentifier(STICKY_NOTE_DELETE_BUTTON);
    m_selectedTextTextView->setAccessibilityIdentifier(STICKY_NOTE_SELECTED_TEXT_TEXT_VIEW);
    m_noteTextView->setAccessibilityIdentifier(STICKY_NOTE_NOTE_TEXT_VIEW);
    m_postButton->setAccessibilityIdentifier(STICKY_NOTE_POST_BUTTON);
    m_shareButton->setAccessibilityIdentifier(STICKY_NOTE_SHARE_BUTTON);
    m_commentField->setAccessibilityIdentifier(STICKY_NOTE_COMMENT_TEXT_FIELD);
    m_commentPostButton->setAccessibilityIdentifier(STICKY_NOTE_COMMENT_POST_BUTTON);
    m_moreButton->setAccessibilityIdentifier(STICKY_NOTE_MORE_BUTTON);
    const std::pair<ui::View*, const char*> labels[] = {
        { m_backButton.get(), "BackButton" },
        { m_deleteButton.get(), "ReaderStickyNotesDeleteButton" },
        { m_shareButton.get(), "ReaderStickyNotesShareButton" },
        { m_selectedTextTextView.get(), "ReaderStickyNotesSelectedTextTextView" },
        { m_noteTextView.get(), "ReaderStickyNotesNoteTextView" },
        { m_postButton.get(), "ReaderStickyNotesPostButton" },
        { m_commentPostButton.get(), "ReaderStickyNotesCommentPostButton" },
        { m_moreButton.get(), "ReaderStickyNotesMoreButton" },
    };
    for (const auto& [view, element] : labels)
        view->setAccessibilityLabel(
            AccessibilityHelper::accessibilityLabelForElementID(element, stickyAccessibilityTable, ""));
}

// MARK: - Opening

void StickyNotesViewController::viewWillAppear(bool animated)
{
    ui::ViewController::viewWillAppear(animated);
    updateView();
    setUpDataForhighlight();
    addShareSavePop();
    view()->setNeedsLayout();
    view()->layoutIfNeeded();
}

void StickyNotesViewController::updateView()
{
    const std::string iconFont = MVIconFontConstants::getFontName();
    if (m_isAudioSearchNoteEnabled) {
        m_micButton->titleLabel()->setFont(ui::Font(iconFont, 21.0));
        m_commentMicButton->titleLabel()->setFont(ui::Font(iconFont, 21.0));
    } else {
        m_micWidth->setConstant(0.0);
        m_commentMicWidth->setConstant(0.0);
    }
    m_backButton->titleLabel()->setFont(ui::Font(iconFont, 26.0));
    // The header's share, delete and "more" titles and the comment's send arrow are glyphs:
    // in any other face they read as letters.
    for (const auto& button : { m_shareButton, m_deleteButton, m_moreButton, m_commentPostButton })
        button->titleLabel()->setFont(ui::Font(iconFont, 22.0));
    m_titleButton->titleLabel()->setFont(stickyCustomFont(20.0, ui::FontWeight::Light));
    m_titleButton->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    m_titleButton->setTitle(localized("NOTE"));
    m_timeLabel->setFont(stickyCustomFont(13.0));
    m_selectedTextTextView->setFont(stickyCustomFont(17.0));
    m_commentField->setFont(stickyCustomFont(14.0));
    if (m_theme && m_theme->comments_bottom_panel_text_color())
        m_commentField->setTextColor(*m_theme->comments_bottom_panel_text_color());
    m_commentField->setPlaceholder(localized("WRITE_YOUR_COMMENT_HERE"));
    m_noteTextView->setFont(stickyCustomFont(17.0, ui::FontWeight::Light));

    if (!m_settings || !m_settings->isSharingEnabled())
        m_shareWidth->setConstant(0.0);

    if (isPad()) {
        m_stickyNoteContainerView->setBackgroundColor(ui::Color::clear());
        m_stickyNoteContainerView->setClipsToBounds(false);
        auto card = m_stickyNoteContainerView->layer();
        card->setShadowColor(ui::Color::black());
        card->setShadowOffset(ui::Size { 0, 4.0 });
        card->setShadowRadius(4.0);
        card->setShadowOpacity(0.5);
        m_headerView->setClipsToBounds(false);
        auto header = m_headerView->layer();
        header->setShadowColor(ui::Color::black());
        header->setShadowOffset(ui::Size { 0, 4.0 });
        header->setShadowOpacity(0.1);
        header->setShadowRadius(1.0);
        m_backButton->setTitle(std::string());
    } else {
        m_backButton->setTitle(std::string(ICON_BACK));
    }

    setEnabled(*m_commentPostButton, false, 0.5);
    m_commentPostButton->setTitle(std::string(SEND_ARROW_ICON));
    m_commentPostButton->setTitle(std::string(SEND_ARROW_ICON), ui::ControlState::Selected);
    m_commentPostButton->setHidden(false);
    m_commentBar->layer()->setBorderWidth(0.6);
    m_commentBar->layer()->setCornerRadius(4.0);
    if (auto border = UIColorExpanded::colorWithHexString("#DFDFDF"))
        m_commentBar->layer()->setBorderColor(*border);

    for (const auto& textView : { m_selectedTextTextView, m_noteTextView }) {
        textView->setTextContainerInset(ui::EdgeInsets {});
        textView->setContentOffset(ui::Point {});
    }
    UITextViewPlaceholder::setPlaceholder(*m_noteTextView, localized("Enter_Note"));
    if (ui::Environment::current().isRightToLeft())
        m_noteTextView->setTextAlignment(ui::TextAlignment::Right);

    setEnabled(*m_postButton, false);
    setEnabled(*m_shareButton, true);
    setEnabled(*m_deleteButton, true);
    m_noteTextView->setEditable(true);
    view()->setNeedsLayout();
}

void StickyNotesViewController::setUpDataForhighlight()
{
    if (!m_record)
        return;
    for (size_t index = 0; index < m_colorsArray.size(); ++index) {
        if (m_colorsArray[index] == m_record->backgroundColor)
            m_selectedrow = static_cast<int>(index);
    }
    reloadStrip();
    // A colour the list no longer offers gives way to the first one (a received note keeps
    // the sender's colour).
    if (m_selectedrow == 0 && !m_record->isReceived && !m_colorsArray.empty())
        m_record->backgroundColor = m_colorsArray.front();

    if (!m_record->noteText.empty()) {
        std::string once = StickyNoteRules::noteDisplayTime(m_record->getDisplayDate());
        m_timeLabel->setText(once);
    } else {
        m_timeLabel->setText(localized("JUST_NOW"));
    }

    if (const auto* comments = m_record->noteComments.asList())
        m_commentsArray = *comments;
    else
        m_commentsArray.clear();
    reloadTable();

    m_separatorHeight->setConstant(hasPassageText() ? 1.0 : 0.0);
    setTextViewData();

    if (!m_record->noteText.empty()) {
        const bool receivedOrShared = m_record->isReceived || m_record->isShare;
        if (!m_commentsArray.empty()) {
            m_tableview->setHidden(false);
            m_noteTextView->setEditable(false);
            heightOfViewsForNoteWithComments();
        } else if (!receivedOrShared) {
            hideTableViewAndCommentsBoxHeight(0.0);
            if (isTeacherReviewNote() && !isInstructor()) {
                m_noteTextView->setEditable(false);
                m_postRow->setHidden(true);
            }
        } else {
            m_noteTextView->setEditable(false);
            if (isInstructor()) {
                hideTableViewAndCommentsBoxHeight(StickyNoteRules::commentBoxHeight);
                m_postRow->setHidden(true);
            } else {
                hideTableViewAndCommentsBoxHeight(0.0);
                m_postRow->setHidden(m_record->isReceived);
            }
        }
        view()->setNeedsLayout();
        updateStickyNoteIfItIsRecieved();
    } else {
        if (isTeacherReviewNote())
            m_colorStrip->setHidden(true);
        setEnabled(*m_postButton, false);
        setEnabled(*m_shareButton, false);
        m_noteTextView->setEditable(true);
        hideTableViewAndCommentsBoxHeight(0.0);
        m_noteTextView->becomeFirstResponder();
        const bool inList = m_selectedrow >= 0 && static_cast<size_t>(m_selectedrow) < m_colorsArray.size();
        applyHeaderColor(inList && !m_record->isReceived ? m_colorsArray[static_cast<size_t>(m_selectedrow)]
                                                         : m_record->backgroundColor.str());
    }
}

void StickyNotesViewController::setTextViewData()
{
    if (hasPassageText()) {
        m_selectedTextTextView->setText(m_record->text);
        m_selectedTextTextView->setScrollEnabled(true);
    }
    m_noteTextView->setText(m_record->noteText);
    m_noteTextViewText = m_record->noteText;
    setEnabled(*m_deleteButton, !m_noteTextView->text().empty());
}

void StickyNotesViewController::updateStickyNoteIfItIsRecieved()
{
    const bool ownOrInstructorReview
        = (!m_record->isReceived && !isTeacherReviewNote()) || (isTeacherReviewNote() && isInstructor());
    if (ownOrInstructorReview) {
        if (m_selectedrow >= 0 && static_cast<size_t>(m_selectedrow) < m_colorsArray.size())
            applyHeaderColor(m_colorsArray[static_cast<size_t>(m_selectedrow)]);
        else
            applyHeaderColor(m_record->backgroundColor);
        setEnabled(*m_shareButton, true);
        setEnabled(*m_deleteButton, true);
        m_colorStrip->setHidden(isTeacherReviewNote());
        m_moreWidth->setConstant(56.0);
        return;
    }
    setEnabled(*m_postButton, false);
    setEnabled(*m_shareButton, false);
    setEnabled(*m_deleteButton, false);
    m_noteTextView->setEditable(false);
    m_postRow->setHidden(true);
    m_postRowHeight->setConstant(0.0);
    m_colorStrip->setHidden(true);
    m_moreWidth->setConstant(2.0);
    m_moreButton->setHidden(true);
    applyHeaderColor(m_record->backgroundColor);
}

void StickyNotesViewController::showShareButton(bool show)
{
    loadViewIfNeeded();
    m_shareWidth->setConstant(show ? 50.0 : 0.0);
}

// MARK: - Leaving

void StickyNotesViewController::viewWillDisappear(bool animated)
{
    ui::ViewController::viewWillDisappear(animated);
    if (m_voiceManager)
        m_voiceManager->cancelRecognization();
    if (isBeingDismissed() && m_leaveAction)
        m_leaveAction();
}

} // namespace lectoro
