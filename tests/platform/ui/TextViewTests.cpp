#include "platform/ui/TextView.h"

#include "platform/base/NotificationCenter.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

struct RecordingTextViewDelegate : TextViewDelegate {
    bool shouldChangeTextInRange(TextView&, base::Range range, const std::string& text) override
    {
        calls.push_back(
            "should " + std::to_string(range.location) + "," + std::to_string(range.length) + " " + text);
        return !(text == "\n" && blockNewlines);
    }
    void didChange(TextView& view) override { calls.push_back("did " + view.text()); }
    std::vector<std::string> calls;
    bool blockNewlines = false;
};

TEST(TextViewTest, EditingAsksNotifiesAndPosts)
{
    auto view = TextView::create({ 0, 0, 200, 100 });
    auto delegate = std::make_shared<RecordingTextViewDelegate>();
    view->setDelegate(delegate);
    std::vector<const void*> posted;
    auto token = base::NotificationCenter::defaultCenter().addObserver(TextViewTextDidChangeNotification,
        nullptr, [&](const base::Notification& n) { posted.push_back(n.object); });

    EXPECT_TRUE(view->insertText("hi"));
    delegate->blockNewlines = true;
    EXPECT_FALSE(view->insertText("\n"));
    EXPECT_EQ(view->text(), "hi");
    EXPECT_EQ(delegate->calls, (std::vector<std::string> { "should 0,0 hi", "did hi", "should 2,0 \n" }));
    EXPECT_EQ(posted, std::vector<const void*> { view.get() });

    // Setting the text in code posts nothing.
    view->setText("code");
    EXPECT_EQ(posted.size(), 1u);
    view->setSelectedRange({ 0, 4 });
    EXPECT_TRUE(view->insertText("X"));
    EXPECT_EQ(view->text(), "X");

    view->setEditable(false);
    EXPECT_FALSE(view->insertText("nope"));
    EXPECT_FALSE(view->becomeFirstResponder());
}

TEST(TextViewTest, ContentSizeUsesTheMetricInsideInsetsAndPadding)
{
    // 10 + 0 + 0 + 5 + 5 + 10 wide: the text area is 20 points.
    auto view = TextView::create({ 0, 0, 30, 100 });
    view->setFont(Font::systemFont(10));
    view->setText("aaa bbb ccc");
    EXPECT_DOUBLE_EQ(view->textContainerWidth(), 20);
    // Three lines of 12 plus the default 8 + 8.
    EXPECT_EQ(view->contentSize(), Size(30, 52));
    view->setTextContainerInset({ 0, 0, 0, 0 });
    EXPECT_EQ(view->contentSize(), Size(30, 36));
    view->setFrame({ 0, 0, 200, 100 });
    EXPECT_EQ(view->contentSize(), Size(200, 12));
    EXPECT_EQ(view->sizeThatFits({ 30, 0 }), Size(30, 36));
}

TEST(TextViewTest, ObservedKeysReportChanges)
{
    auto view = TextView::create();
    std::vector<std::string> keys;
    view->addPropertyObserver("", [&](View&, const std::string& key) {
        if (key != "contentSize")
            keys.push_back(key);
    });
    view->setText("a");
    view->setFont(Font::systemFont(14));
    view->setTextAlignment(TextAlignment::Center);
    view->setTextContainerInset({ 1, 1, 1, 1 });
    view->setAttributedText(base::AttributedString("b"));
    view->setFrame({ 0, 0, 10, 10 });
    EXPECT_EQ(keys,
        (std::vector<std::string> {
            "text", "font", "textAlignment", "textContainerInset", "attributedText", "frame" }));
}

} // namespace
} // namespace ui
