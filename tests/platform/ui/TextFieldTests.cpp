#include "platform/ui/TextField.h"

#include "platform/base/NotificationCenter.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

struct RecordingDelegate : TextFieldDelegate {
    bool shouldBeginEditing(TextField&) override
    {
        calls.push_back("shouldBegin");
        return allowBegin;
    }
    void didBeginEditing(TextField&) override { calls.push_back("didBegin"); }
    bool shouldEndEditing(TextField&) override
    {
        calls.push_back("shouldEnd");
        return allowEnd;
    }
    void didEndEditing(TextField&) override { calls.push_back("didEnd"); }
    bool shouldChangeCharactersInRange(
        TextField& field, base::Range range, const std::string& replacement) override
    {
        calls.push_back("change " + std::to_string(range.location) + "," + std::to_string(range.length) + " '"
            + replacement + "'");
        // Veto anything that would take the text past maxLength UTF-16 units.
        size_t length = base::utf16Length(field.text()) - range.length + base::utf16Length(replacement);
        return length <= maxLength;
    }
    bool shouldReturn(TextField&) override
    {
        calls.push_back("shouldReturn");
        return true;
    }
    bool shouldClear(TextField&) override { return allowClear; }

    std::vector<std::string> calls;
    bool allowBegin = true;
    bool allowEnd = true;
    bool allowClear = true;
    size_t maxLength = 100;
};

class TextFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_field = TextField::create({ 0, 0, 200, 30 });
        m_delegate = std::make_shared<RecordingDelegate>();
        m_field->setDelegate(m_delegate);
        m_field->addTarget(ControlEvent::AllEditingEvents, [this](Control&) { ++m_editingEvents; });
    }

    std::shared_ptr<TextField> m_field;
    std::shared_ptr<RecordingDelegate> m_delegate;
    int m_editingEvents = 0;
};

TEST_F(TextFieldTest, DelegateVetoCountsUtf16Units)
{
    m_delegate->maxLength = 4;
    m_field->setText("ab");
    // An emoji is two UTF-16 units: "ab" + emoji = 4 units, allowed.
    EXPECT_TRUE(m_field->insertText("\xF0\x9F\x98\x80"));
    EXPECT_EQ(m_field->text(), "ab\xF0\x9F\x98\x80");
    EXPECT_EQ(m_delegate->calls.back(), "change 2,0 '\xF0\x9F\x98\x80'");
    // One more unit would be 5: refused, text unchanged, no event.
    int events = m_editingEvents;
    EXPECT_FALSE(m_field->insertText("c"));
    EXPECT_EQ(m_field->text(), "ab\xF0\x9F\x98\x80");
    EXPECT_EQ(m_editingEvents, events);
    // Replacing the emoji's two units with one letter is fine.
    EXPECT_TRUE(m_field->replaceRange({ 2, 2 }, "c"));
    EXPECT_EQ(m_field->text(), "abc");
}

TEST_F(TextFieldTest, BadRangesAreRefusedWithoutAskingTheDelegate)
{
    m_field->setText("a\xF0\x9F\x98\x80"
                     "b"); // a, emoji (2 units), b
    m_delegate->calls.clear();
    struct Case {
        base::Range range;
        const char* why;
    };
    const Case cases[] = {
        { { 5, 0 }, "past the end" },
        { { 3, 2 }, "runs past the end" },
        { { 2, 1 }, "starts inside a surrogate pair" },
        { { 0, 2 }, "ends inside a surrogate pair" },
        { { SIZE_MAX, 2 }, "overflowing location" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_FALSE(m_field->replaceRange(c.range, "x"));
    }
    EXPECT_TRUE(m_delegate->calls.empty());
    EXPECT_TRUE(m_field->replaceRange({ 1, 2 }, ""));
    EXPECT_EQ(m_field->text(), "ab");
}

TEST_F(TextFieldTest, TypingFiresEditingChangedAndPostsTheNotification)
{
    std::vector<const void*> posted;
    auto token = base::NotificationCenter::defaultCenter().addObserver(TextFieldTextDidChangeNotification,
        nullptr, [&](const base::Notification& n) { posted.push_back(n.object); });
    std::vector<std::string> events;
    m_field->addTarget(ControlEvent::EditingChanged,
        [&](Control& c) { events.push_back(static_cast<TextField&>(c).text()); });
    m_field->insertText("h");
    m_field->insertText("i");
    m_field->deleteBackward();
    EXPECT_EQ(events, (std::vector<std::string> { "h", "hi", "h" }));
    EXPECT_EQ(posted, (std::vector<const void*> { m_field.get(), m_field.get(), m_field.get() }));
    // Setting the text in code tells no one.
    m_field->setText("code");
    EXPECT_EQ(events.size(), 3u);
    // Typing goes to the insertion point.
    m_field->setInsertionPoint(1);
    m_field->insertText("X");
    EXPECT_EQ(m_field->text(), "cXode");
    m_field->setText("\xF0\x9F\x98\x80");
    EXPECT_TRUE(m_field->deleteBackward()); // the whole pair
    EXPECT_EQ(m_field->text(), "");
    EXPECT_FALSE(m_field->deleteBackward());
}

TEST_F(TextFieldTest, FirstResponderCycleAsksTheDelegate)
{
    m_delegate->allowBegin = false;
    EXPECT_FALSE(m_field->becomeFirstResponder());
    EXPECT_FALSE(m_field->isFirstResponder());
    m_delegate->allowBegin = true;
    EXPECT_TRUE(m_field->becomeFirstResponder());
    EXPECT_TRUE(m_field->isEditing());

    auto other = TextField::create();
    m_delegate->allowEnd = false;
    EXPECT_FALSE(other->becomeFirstResponder()); // we refuse to give it up
    EXPECT_TRUE(m_field->isFirstResponder());
    m_delegate->allowEnd = true;
    EXPECT_TRUE(other->becomeFirstResponder());
    EXPECT_FALSE(m_field->isFirstResponder());
    EXPECT_EQ(m_delegate->calls,
        (std::vector<std::string> {
            "shouldBegin", "shouldBegin", "didBegin", "shouldEnd", "shouldEnd", "didEnd" }));
    EXPECT_EQ(m_editingEvents, 2); // began, ended

    m_field->setEnabled(false);
    EXPECT_FALSE(m_field->becomeFirstResponder());
}

TEST_F(TextFieldTest, EndEditingAsksOnceAndForceWins)
{
    auto form = View::create();
    form->addSubview(m_field);
    m_field->becomeFirstResponder();
    m_delegate->calls.clear();
    m_delegate->allowEnd = false;
    EXPECT_FALSE(form->endEditing(false));
    EXPECT_TRUE(m_field->isFirstResponder());
    EXPECT_EQ(m_delegate->calls, std::vector<std::string> { "shouldEnd" });
    EXPECT_TRUE(form->endEditing(true));
    EXPECT_FALSE(m_field->isFirstResponder());
}

TEST_F(TextFieldTest, ReturnAndClearButtons)
{
    int exits = 0;
    m_field->addTarget(ControlEvent::EditingDidEndOnExit, [&](Control&) { ++exits; });
    EXPECT_TRUE(m_field->simulateReturn());
    EXPECT_EQ(exits, 1);

    m_field->setText("abc");
    m_delegate->allowClear = false;
    EXPECT_FALSE(m_field->simulateClear());
    EXPECT_EQ(m_field->text(), "abc");
    m_delegate->allowClear = true;
    EXPECT_TRUE(m_field->simulateClear());
    EXPECT_EQ(m_field->text(), "");
}

TEST_F(TextFieldTest, SideViewsAreSubviewsWhileSet)
{
    auto left = View::create();
    m_field->setLeftView(left);
    EXPECT_EQ(left->superview(), m_field);
    m_field->setLeftView(nullptr);
    EXPECT_EQ(left->superview(), nullptr);
    m_field->setSecureTextEntry(true);
    m_field->setText("pw");
    EXPECT_EQ(m_field->accessibilityValue(), "**");
}

TEST(TextFieldWithoutDelegateTest, EverythingIsAllowed)
{
    auto field = TextField::create();
    EXPECT_TRUE(field->insertText("x"));
    EXPECT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(field->resignFirstResponder());
    EXPECT_TRUE(field->simulateReturn());
    // A delegate that went away counts as none.
    {
        auto gone = std::make_shared<RecordingDelegate>();
        gone->maxLength = 0;
        field->setDelegate(gone);
    }
    EXPECT_TRUE(field->insertText("y"));
}

} // namespace
} // namespace ui
