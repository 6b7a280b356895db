// The chat in the desktop window, used with the mouse and the keyboard: the screen stays where it is while
// the field is edited (no on-screen keyboard to clear), Return sends, and Escape goes back to the home screen.
#include "ChatFixture.h"

#include "host/SDLHost.h"
#include "support/DesktopEvents.h"

namespace {

using namespace test::desktop;

class ChatDesktop : public test::ChatTest {
protected:
    void SetUp() override
    {
        ChatTest::SetUp();
        useOffscreenVideo();
    }
    void TearDown() override
    {
        window.reset();
        ChatTest::TearDown();
    }

    std::unique_ptr<host::SDLHost> window;
};

TEST_F(ChatDesktop, TypingKeepsTheScreenInPlaceReturnSendsAndEscapeGoesBack)
{
    openChat();
    window = host::SDLHost::open({});
    ASSERT_TRUE(window);
    click(centreOf(chat->messageField()));
    pass(1);
    ASSERT_TRUE(chat->messageField()->isFirstResponder());
    type("on my way");
    key(SDLK_RETURN);
    ASSERT_TRUE(pumpUntil([this] { return requestsTo("LumetSendTextMsg") == 1; }));
    pass(1);
    EXPECT_DOUBLE_EQ(chat->view()->transform().ty, 0);
    EXPECT_EQ(chat->messageField()->text(), "");

    key(SDLK_ESCAPE);
    pass(1);
    EXPECT_EQ(home()->navigationController()->topViewController(), home());
}

} // namespace
