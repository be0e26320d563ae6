#pragma once

// The coach-mark overlay: a tinted full-screen controller that draws one call-out per bar
// item (HelpDescriptor) over one or two screens, moved between by swipes, and closed by
// its one button ("Skip" on the first screen of a two-screen overlay, "Got It" otherwise).
//
// The owner creates it, sets the colours, flags, descriptors and delegate, embeds it as a
// child controller and calls viewWillAppear(). Whenever its bar items change it hands new
// descriptors over and calls setUpViews(); on rotation the overlay redraws by itself.
// setUpViews() lives in HelpScreenLayout.cpp.

#include "LectoroSDKWithReader/reader/help/HelpDelegate.h"
#include "LectoroSDKWithReader/reader/help/HelpDescriptor.h"
#include "LectoroSDKWithReader/readersdk/utilities/BundleRef.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class Button;
class GestureRecognizer;
class Label;
class Layer;
class PageControl;
} // namespace ui

namespace lectoro {

class HelpScreen : public ui::ViewController {
public:
    static std::shared_ptr<HelpScreen> create();
    std::string_view className() const override { return "HelpScreen"; }

    const std::vector<std::shared_ptr<HelpDescriptor>>& helpDescriptors() const { return m_helpDescriptors; }
    void setHelpDescriptors(std::vector<std::shared_ptr<HelpDescriptor>> descriptors)
    {
        m_helpDescriptors = std::move(descriptors);
    }
    bool showSecondScreen() const { return m_showSecondScreen; }
    void setShowSecondScreen(bool value) { m_showSecondScreen = value; }
    bool isForTeacherReview() const { return m_isForTeacherReview; }
    void setIsForTeacherReview(bool value) { m_isForTeacherReview = value; }
    bool isForBookShelf() const { return m_isForBookShelf; }
    void setIsForBookShelf(bool value) { m_isForBookShelf = value; }
    // Kept for the owner, which writes it on page changes and reads it back on rotation.
    bool isOnSecondScreenOnHelpScreen() const { return m_isOnSecondScreenOnHelpScreen; }
    void setIsOnSecondScreenOnHelpScreen(bool value) { m_isOnSecondScreenOnHelpScreen = value; }
    std::shared_ptr<HelpDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<HelpDelegate> delegate) { m_delegate = std::move(delegate); }

    const std::shared_ptr<ui::Button>& button() const { return m_button; }
    const std::shared_ptr<ui::PageControl>& pageControl() const { return m_pageControl; }
    // What the last layout pass added, in the order added.
    const std::vector<std::shared_ptr<ui::Label>>& labels() const { return m_labels; }
    const std::vector<std::shared_ptr<ui::Layer>>& layers() const { return m_layers; }
    const std::vector<std::shared_ptr<ui::Button>>& images() const { return m_images; }
    double combLineDecrementVal() const { return m_combLineDecrementVal; }
    double combLineIncrementVal() const { return m_combLineIncrementVal; }

    // Colours as "#RRGGBB" texts. The background applies at once (at alpha 0.7, loading
    // the view); the others at the next layout pass or button styling.
    void setBackGroundColorWithColor(const std::string&);
    void setLineColorWithColor(const std::string& color) { m_lineColor = color; }
    void setEllipseColorWithColor(const std::string& color) { m_ellipseColor = color; }
    void setIconColorWithColor(const std::string& color) { m_iconColor = color; }
    void setTitleTextColorWithColor(const std::string& color) { m_titleTextColor = color; }
    void setDescriptionTextColorWithColor(const std::string& color) { m_descriptionTextColor = color; }
    void setGotItButtonBackgroundColorWithColor(const std::string& color)
    {
        m_gotItButtonBackgroundColor = color;
    }
    void setGotItButtonTextColorWithColor(const std::string& color) { m_gotItButtonTextColor = color; }
    void setSkipButtonBackgroundColorWithColor(const std::string& color)
    {
        m_skipButtonBackgroundColor = color;
    }
    void setSkipButtonTextColorWithColor(const std::string& color) { m_skipButtonTextColor = color; }
    const std::string& backgroundColorText() const { return m_backgroundColor; }

    // Draws the screen the page indicator designates (HelpScreenLayout.cpp).
    void setUpViews();
    // Takes every call-out off the screen; the button and page indicator stay.
    void removeViews();
    // Forward and backward page changes (the forward one is a left swipe in a left-to-right
    // layout and a right swipe in a right-to-left one).
    void swipeToLeft();
    void swipeToRight();
    // Gesture handlers: act only on a recognised swipe from the page it leaves.
    void swipeLeft(ui::GestureRecognizer&);
    void swipeRight(ui::GestureRecognizer&);
    void changePageWithSender(ui::PageControl&);
    // The button's action: ends the whole overlay.
    void removeMyself();

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void willRotateToInterfaceOrientation();
    void didRotateFromInterfaceOrientation();
    void viewWillTransitionToSize(const ui::Size&, ui::TransitionCoordinator&) override;
    void viewDidLayoutSubviews() override;

    // The bundle the overlay's own texts come from: chosen once per process, at the first
    // lookup, from the reader language bundle or the library's bundle.
    static BundleRef textBundle();
    static std::string localizedText(const std::string& key, const std::string& fallback = {});
    static void resetTextBundleForTesting();

protected:
    HelpScreen();

private:
    void setUpSkipButton();
    void setUpGotItButton();
    void styleButton(const std::string& key, const std::string& fallback, const std::string& textColor,
        const std::string& fallbackTextColor, const std::string& backgroundColor);
    void setUpCombinedViews(HelpDescriptor& first, HelpDescriptor& second);
    // The overlay's bounds, then each descriptor's item in the window (empty when gone).
    std::vector<ui::Rect> itemPlaces() const;
    void addIconCopy(const HelpDescriptor&);
    void addLine(const ui::Point& from, const ui::Point& to);
    void addDot(const ui::Point& center);
    std::shared_ptr<ui::Label> makeTitleLabel(const std::string& text) const;
    std::shared_ptr<ui::Label> makeDescriptionLabel(const std::string& text) const;
    void addLabel(const std::shared_ptr<ui::Label>&);
    void addLayer(const std::shared_ptr<ui::Layer>&);
    // Actions held by the button, page control and gestures check it before touching
    // the overlay, which may be gone while they still live.
    std::weak_ptr<const void> aliveToken() const { return m_alive; }

    std::shared_ptr<const int> m_alive = std::make_shared<const int>(0);

    std::vector<std::shared_ptr<HelpDescriptor>> m_helpDescriptors;
    bool m_showSecondScreen = false;
    bool m_isForTeacherReview = false;
    bool m_isForBookShelf = false;
    bool m_isOnSecondScreenOnHelpScreen = false;
    std::weak_ptr<HelpDelegate> m_delegate;
    double m_combLineDecrementVal = 0;
    double m_combLineIncrementVal = 0;
    std::shared_ptr<ui::PageControl> m_pageControl;
    std::vector<std::shared_ptr<ui::Label>> m_labels;
    std::vector<std::shared_ptr<ui::Layer>> m_layers;
    std::vector<std::shared_ptr<ui::Button>> m_images;
    std::shared_ptr<ui::Button> m_button;
    bool m_buttonActionInstalled = false;
    // What the call-outs on screen were drawn for.
    std::vector<ui::Rect> m_placesUsed;
    bool m_turning = false;

    std::string m_backgroundColor = "#000000";
    std::string m_lineColor = "#FFFFFF";
    std::string m_ellipseColor = "#00d9fa";
    std::string m_iconColor = "#FFFFFF";
    std::string m_titleTextColor = "#00d9fa";
    std::string m_descriptionTextColor = "#FFFFFF";
    std::string m_gotItButtonBackgroundColor = "#095e8e";
    std::string m_gotItButtonTextColor = "#FFFFFF";
    std::string m_skipButtonBackgroundColor = "#FFFFFF";
    std::string m_skipButtonTextColor = "#000000";
};

} // namespace lectoro
