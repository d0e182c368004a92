// The message box seam: a hook answers instead of the system.
#include "wide_text.h"

#include "platform/dialog.h"

#include <gtest/gtest.h>

namespace {

// What the hook saw.
struct Seen {
    std::u16string text;    // the box's text
    std::u16string caption; // its caption
    unsigned style = 0;     // its style flags
};

int AnswerRetry(const WCHAR* text, const WCHAR* caption, unsigned style, void* context) {
    auto* seen = static_cast<Seen*>(context);
    seen->text = U16(text, std::char_traits<WCHAR>::length(text));
    seen->caption = U16(caption, std::char_traits<WCHAR>::length(caption));
    seen->style = style;
    return platform::kIdRetry;
}

TEST(MessageBoxTest, HookAnswers) {
    Seen seen;
    platform::SetMessageBoxHookForTesting(&AnswerRetry, &seen);
    const unsigned style = platform::kMbRetryCancel | platform::kMbIconExclamation;
    EXPECT_EQ(platform::MessageBoxW(W(u"Notes is locked").c_str(), W(u"Caption").c_str(), style),
              platform::kIdRetry);
    platform::SetMessageBoxHookForTesting(nullptr, nullptr);
    EXPECT_EQ(seen.text, u"Notes is locked");
    EXPECT_EQ(seen.caption, u"Caption");
    EXPECT_EQ(seen.style, style);
}

} // namespace
