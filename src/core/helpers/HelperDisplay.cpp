#include "base/loop/MainThread.h"
#include "base/system/UserDefaults.h"
#include "core/helpers/Helper.h"
#include "core/state/SettingsKeys.h"
#include "core/state/SignInSession.h"
#include "core/state/Singleton.h"
#include "feedback/FeedbackClient.h"
#include "kit/overlay/NoticeOverlay.h"
#include "kit/overlay/ProgressOverlay.h"

namespace core {

namespace {

    constexpr const char* feedbackRootKey = "FeedbackRoot";
    constexpr const char* feedbackPath = "/feedback/conversation";

    constexpr float hudOpacity = 0.64f;
    constexpr double noticeOpacity = 0.95;
    constexpr double noticeDuration = 1.0;
    constexpr double noticeFadeDuration = 0.5;

} // namespace

void Helper::showHUD(
    const std::string& text, const std::shared_ptr<ui::View>& view, const std::shared_ptr<kit::ProgressOverlay>& hud)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!view || !hud)
        return;
    view->addSubview(hud);
    hud->setOpacity(hudOpacity);
    hud->setSquare(true);
    hud->setLabelText(text);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->show(true);
}

void Helper::showNotify(bool success, const std::string& text, const std::shared_ptr<ui::View>& parentView,
    std::function<void()> completion)
{
    BASE_ASSERT_MAIN_THREAD();
    if (!parentView)
        return;
    auto notice = kit::NoticeOverlay::notifyHUDWithImage(gfx::Image::named(success ? "Checkmark" : "cha"), text);
    notice->setDestinationOpacity(noticeOpacity);
    gfx::Rect bounds = parentView->bounds();
    notice->setCenter({ bounds.midX(), bounds.midY() });
    parentView->addSubview(notice);
    notice->presentWithDuration(noticeDuration, noticeFadeDuration, [notice, completion = std::move(completion)] {
        notice->removeFromSuperview();
        if (completion)
            completion();
    });
}

void Helper::showFeedback(const std::shared_ptr<ui::ViewController>& screen)
{
    // The signed-in account's conversation goes to the setting "FeedbackRoot" when one is set, else to the
    // feedback route of the chosen server, with the session's cookie, while that sign-in lasts.
    auto signIn = SignInSession::current();
    if (!signIn.isOpen())
        return;
    auto configured = readSettingsByKey(feedbackRootKey);
    const std::string* root = configured ? configured->string() : nullptr;
    auto cookie = base::UserDefaults::standard().stringForKey(SettingsKeys::Cookie);
    feedback::FeedbackClient::shared().setService(
        root && !root->empty() ? *root : Singleton::shared().server() + feedbackPath, cookie.value_or(""),
        signIn.account, [signIn] { return signIn.isOpen(); });
    feedback::FeedbackClient::showFeedback(screen, AnalyticsAppKey);
}

} // namespace core
