// The feedback conversation as the settings centre opens it, against the local service's feedback route:
// messages kept on this machine across reopenings, delivered with the session, a failed one sent again
// when its mark is tapped, and each account's conversation its own.
#include "base/system/Files.h"
#include "core/helpers/Helper.h"
#include "feedback/FeedbackBubbleView.h"
#include "feedback/FeedbackVC.h"
#include "support/ScreenFixture.h"
#include "tracking-service/ServiceRoutes.h"

#include "ui/controllers/NavigationController.h"
#include "ui/controls/Button.h"
#include "ui/render/ScreenRenderer.h"

namespace {

using feedback::FeedbackVC;

class FeedbackConversation : public test::ScreenTest {
protected:
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(feedback::FeedbackThread::pathForAccount(account).parent_path(), ignored);
        ScreenTest::TearDown();
    }
    std::shared_ptr<FeedbackVC> open()
    {
        core::Helper::showFeedback(home());
        pass(1);
        auto navigation = std::dynamic_pointer_cast<ui::NavigationController>(home()->presentedViewController());
        return navigation ? std::dynamic_pointer_cast<FeedbackVC>(navigation->topViewController()) : nullptr;
    }
    void close(const std::shared_ptr<FeedbackVC>& screen)
    {
        screen->close();
        pass(1);
    }
    void send(const std::shared_ptr<FeedbackVC>& screen, const std::string& text)
    {
        screen->inputField()->setText(text);
        tap(screen->sendButton());
        ASSERT_TRUE(pumpUntil([&] { return screen->sending() == 0; }));
        pass(0.5);
    }
    // Whether the rendered screen shows white text (a white pixel) inside the region, in screen points.
    static bool hasWhiteText(const gfx::Rect& region)
    {
        auto frame = ui::ScreenRenderer::renderImage();
        double scale = frame->pixelWidth() / frame->size().width;
        for (int y = int(region.minY() * scale); y < int(region.maxY() * scale); ++y)
            for (int x = int(region.minX() * scale); x < int(region.maxX() * scale); ++x)
                if ((frame->pixel(x, y) & 0xffffff) == 0xffffff)
                    return true;
        return false;
    }
    // Opens the screen, which shows the one unsent message marked, and taps the mark until it is sent.
    std::shared_ptr<FeedbackVC> openAndResendTheUnsent()
    {
        auto screen = open();
        EXPECT_TRUE(screen);
        if (!screen || screen->bubbles().size() != 1 || !screen->bubbles()[0]->resendButton()) {
            ADD_FAILURE() << "no one marked unsent message";
            return nullptr;
        }
        tap(screen->bubbles()[0]->resendButton());
        EXPECT_TRUE(pumpUntil([&] { return screen->sending() == 0 && screen->thread().messages()[0].sent; }));
        return screen;
    }
    size_t keptByService(const char* owner = account)
    {
        auto messages = service.store().document(owner, tracking_service::ServiceStore::FeedbackDocument);
        return messages && messages->array() ? messages->array()->count() : 0;
    }
};

TEST_F(FeedbackConversation, AMessageIsKeptHereAndReachesTheServiceWithTheSession)
{
    launchAndSignIn();
    auto screen = open();
    ASSERT_TRUE(screen);
    send(screen, "The map could be bigger");
    ASSERT_EQ(screen->thread().messages().size(), 1u);
    EXPECT_TRUE(screen->thread().messages()[0].sent);
    ASSERT_EQ(keptByService(), 1u);
    auto posted = service.store().document(account, tracking_service::ServiceStore::FeedbackDocument);
    const base::Value& first = posted->array()->objectAtIndex(0);
    EXPECT_EQ(first.dictionary()->objectForKey("Text")->stringValue(), "The map could be bigger");
    EXPECT_EQ(first.dictionary()->objectForKey("AppKey")->stringValue(), core::Helper::AnalyticsAppKey);
    EXPECT_EQ(screen->inputField()->text(), "");
    close(screen);

    auto again = open();
    ASSERT_TRUE(again);
    ASSERT_EQ(again->bubbles().size(), 1u);
    const auto& bubble = again->bubbles()[0];
    EXPECT_FALSE(bubble->resendButton());
    EXPECT_EQ(bubble->text(), "The map could be bigger");
    gfx::Rect drawn = bubble->bubbleRect();
    EXPECT_TRUE(test::ScreenProbe::near(
        colourAt(bubble, { drawn.minX() + 4, drawn.midY() }), feedback::FeedbackBubbleView::bubbleColour));
    EXPECT_TRUE(hasWhiteText(test::ScreenProbe::toScreen(*bubble, drawn.insetBy(8, 8))));
}

TEST_F(FeedbackConversation, AFailedMessageStaysUnsentAndGoesAgainWhenItsMarkIsTapped)
{
    launchAndSignIn();
    auto screen = open();
    ASSERT_TRUE(screen);
    service.faults().set(tracking_service::ServiceRoutes::FeedbackEndpoint, tracking_service::Fault::status(500));
    send(screen, "Sound is too quiet");
    ASSERT_EQ(screen->thread().messages().size(), 1u);
    EXPECT_FALSE(screen->thread().messages()[0].sent);
    EXPECT_EQ(keptByService(), 0u);
    close(screen);

    // The unsent message is still there after reopening, marked, and goes when its mark is tapped.
    service.faults().clear();
    auto again = openAndResendTheUnsent();
    ASSERT_TRUE(again);
    EXPECT_EQ(keptByService(), 1u);
    pass(0.5);
    EXPECT_FALSE(again->bubbles()[0]->resendButton());
    EXPECT_NE(
        base::Files::read(feedback::FeedbackThread::pathForAccount(account))->find("\"sent\":true"), std::string::npos);
}

// The first parent's unsent words are neither shown to a second parent nor posted in the second parent's
// sign-in, even from the first parent's screen still at hand; they wait for the first parent's next sign-in.
// The one file of earlier versions says nobody's name: it is shown to nobody and stays on disk.
TEST_F(FeedbackConversation, EachAccountSeesAndSendsOnlyItsOwnConversation)
{
    auto older = feedback::FeedbackThread::pathForAccount(account).parent_path() / "thread.json";
    std::string olderText = R"({"messages":[{"id":1,"text":"Whose words?","time":1,"sent":false}]})";
    ASSERT_TRUE(base::Files::writeAtomically(older, olderText));
    launchAndSignIn();
    service.faults().set(tracking_service::ServiceRoutes::FeedbackEndpoint, tracking_service::Fault::status(500));
    auto first = open();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->bubbles().empty()) << "the earlier version's conversation is shown to nobody";
    send(first, "Words of the first parent");
    ASSERT_EQ(first->thread().messages().size(), 1u);
    service.faults().clear();

    signInAsOtherAccount();
    size_t posts = service.requestLog().requestsTo(tracking_service::ServiceRoutes::FeedbackEndpoint).size();
    first->resend(first->thread().messages()[0].id);
    pass(1);
    EXPECT_EQ(service.requestLog().requestsTo(tracking_service::ServiceRoutes::FeedbackEndpoint).size(), posts)
        << "nothing is posted once the sign-in that opened the screen has ended";
    auto second = open();
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->bubbles().empty()) << "the second parent sees none of the first parent's words";
    close(second);
    EXPECT_EQ(keptByService(otherAccount), 0u);

    signOut();
    fill(account, password);
    signIn();
    auto again = openAndResendTheUnsent();
    ASSERT_TRUE(again);
    EXPECT_EQ(keptByService(account), 1u);
    EXPECT_EQ(keptByService(otherAccount), 0u);
    EXPECT_EQ(base::Files::read(older), olderText) << "kept as it was";
}

} // namespace
