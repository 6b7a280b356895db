// The feedback conversation as the settings centre opens it, against the local service's feedback route:
// messages kept on this machine across reopenings, delivered with the session, and a failed one sent again
// when its mark is tapped.
#include "base/system/Files.h"
#include "core/helpers/Helper.h"
#include "feedback/FeedbackBubbleView.h"
#include "feedback/FeedbackVC.h"
#include "support/ScreenFixture.h"
#include "tracking-service/ServiceRoutes.h"

#include "ui/controls/Button.h"
#include "ui/controllers/NavigationController.h"
#include "ui/render/ScreenRenderer.h"

namespace {

using feedback::FeedbackVC;

class FeedbackConversation : public test::ScreenTest {
protected:
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(feedback::FeedbackThread::defaultPath().parent_path(), ignored);
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
    size_t keptByService()
    {
        auto messages = service.store().document(account, tracking_service::ServiceStore::FeedbackDocument);
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
    auto again = open();
    ASSERT_TRUE(again);
    ASSERT_EQ(again->bubbles().size(), 1u);
    ASSERT_TRUE(again->bubbles()[0]->resendButton());
    tap(again->bubbles()[0]->resendButton());
    ASSERT_TRUE(pumpUntil([&] { return again->sending() == 0 && again->thread().messages()[0].sent; }));
    EXPECT_EQ(keptByService(), 1u);
    pass(0.5);
    EXPECT_FALSE(again->bubbles()[0]->resendButton());
    EXPECT_NE(base::Files::read(feedback::FeedbackThread::defaultPath())->find("\"sent\":true"), std::string::npos);
}

} // namespace
