// What the tests of the step challenge and the upload-interval panel share: the screen fixture signed in to
// the demo account, the screens on the home screen's navigation controller, the requests the service
// received with their bodies, the settings the screens write, and the alerts on screen.
#pragma once

#include "base/system/Random.h"
#include "base/system/UserDefaults.h"
#include "core/state/Singleton.h"
#include "shell/screens/ScreenDirectory.h"
#include "support/ScreenFixture.h"
#include "tracking-service/Fault.h"
#include "ui/controls/Button.h"
#include "ui/controllers/NavigationController.h"
#include "json/JSONDecoder.h"

#include <string>
#include <vector>

namespace test {

class ChallengeTest : public ScreenTest {
protected:
    static constexpr const char* accepted = "命令提交成功";

    void SetUp() override
    {
        ScreenTest::SetUp();
        base::Random::shared().setSeed(7);
    }

    void TearDown() override
    {
        ScreenTest::TearDown();
        auto& defaults = base::UserDefaults::standard();
        for (const char* key : { "stepCount", "stepNum", "currStepCount", "currentStepCount", "currentStepNum" })
            defaults.removeObjectForKey(key);
    }

    // Signs in; the screens then work on the device of that serial number.
    void signInWith(const char* serialNumber)
    {
        launchAndSignIn();
        ASSERT_TRUE(pumpUntil([this] { return home() && home()->deviceDetail() && networkIdle(); }));
        pass(0.5);
        core::Singleton::shared().setLastSerialnumber(serialNumber);
    }

    std::shared_ptr<ui::NavigationController> navigation() { return home()->navigationController(); }
    template <typename Screen> std::shared_ptr<Screen> top()
    {
        return std::dynamic_pointer_cast<Screen>(navigation()->topViewController());
    }
    void push(const std::shared_ptr<ui::ViewController>& screen)
    {
        navigation()->pushViewController(screen, true);
        ASSERT_TRUE(
            pumpUntil([&] { return screen->appearanceState() == ui::ViewController::AppearanceState::Appeared; }));
    }

    // The request bodies the service received for the method, in order.
    std::vector<base::DictionaryRef> bodiesTo(const std::string& method)
    {
        std::vector<base::DictionaryRef> bodies;
        for (const auto& request : service.requestLog().requestsTo(method)) {
            auto value = json::objectFromJSONString(request.body);
            bodies.push_back(value ? value->dictionary() : nullptr);
        }
        return bodies;
    }
    static base::Value field(const base::DictionaryRef& body, const char* key)
    {
        const base::Value* value = body ? body->objectForKey(key) : nullptr;
        return value ? *value : base::Value("absent");
    }

    static std::optional<base::Value> setting(const char* key)
    {
        return base::UserDefaults::standard().objectForKey(key);
    }

    static size_t alertsShown()
    {
        size_t count = 0;
        for (const auto& window : ui::Application::shared().windows()) {
            auto alertWindow = std::dynamic_pointer_cast<ui::AlertWindow>(window);
            count += alertWindow && alertWindow->isShown() ? 1 : 0;
        }
        return count;
    }
    // Taps the button of the alert on screen.
    void tapAlertButton(int index)
    {
        auto alert = shownAlert();
        ASSERT_TRUE(alert);
        tap(alert->buttonAtIndex(index));
        clock->advance(0s);
    }

    static bool isGrey(const gfx::Color& colour)
    {
        return std::abs(colour.r - colour.g) < 0.05 && std::abs(colour.g - colour.b) < 0.05 && colour.r > 0.3
            && colour.r < 0.9;
    }
    static bool isChallengeGreen(const gfx::Color& colour)
    {
        return colour.g > 0.7 && colour.r > 0.4 && colour.r < 0.65 && colour.b < 0.2;
    }
};

} // namespace test
