// Messages that every picture of one user action may give are shown once per action; the
// click that closes a message belongs to the action that showed it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/system/MessageSink.h"

namespace {

std::vector<CString> g_shown;
bool g_bClickOk = false;

// Shows nothing; records the text and, like a box closed with a click, begins an action.
void RecordingSink(const CString& text) {
    g_shown.push_back(text);
    if (g_bClickOk)
        AfxBeginUserAction();
}

} // namespace

TEST(MessageSink, OncePerActionMessagesShowOnceBetweenUserActions) {
    AfxSetMessageSink(RecordingSink);
    g_shown.clear();
    g_bClickOk = true;
    AfxBeginUserAction();
    AfxShowMessageOncePerAction("first picture");
    AfxShowMessageOncePerAction("second picture");
    AfxShowMessage("always shown");
    AfxBeginUserAction();
    AfxShowMessageOncePerAction("next action");
    AfxShowMessageOncePerAction("same action");
    AfxSetMessageSink(nullptr);
    g_bClickOk = false;
    const std::vector<CString> expected = {"first picture", "always shown", "next action"};
    EXPECT_EQ(g_shown, expected);
}
