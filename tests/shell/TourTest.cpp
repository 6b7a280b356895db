// The tour that scripts/run takes without a display: it signs in with the account the login screen shows,
// waits for each screen's replies and writes a picture of the login screen, the home screen, the open
// menu and each built menu screen.
#include "ShellFixture.h"

#include <algorithm>

#include "core/state/Singleton.h"
#include "host/HeadlessHost.h"
#include "shell/screens/ScreenDirectory.h"
#include "shell/tour/Tour.h"
#include "shell/tour/TourContext.h"
#include "shell/tour/TourSteps.h"

namespace {

class Tour : public test::ShellTest {
protected:
    void TearDown() override
    {
        tour.reset();
        shell::ScreenDirectory::shared().remove(shell::ScreenDirectory::ClassSchedule);
        shell::TourSteps::shared().remove("pushed-screen");
        shell::TourSteps::shared().remove("after-pushed");
        ShellTest::TearDown();
    }

    void run()
    {
        tour = std::make_shared<shell::Tour>(
            application, [this](const std::string& name) { return pictures.writeFrame(name).has_value(); },
            [this](bool succeeded) { outcome = succeeded; });
        tour->start();
        ASSERT_TRUE(pumpUntil([this] { return outcome.has_value(); }, 120));
    }

    // The login, home and menu pictures, one per menu row whose screen is built (numbered from 4, in the
    // menu's order), then one per registered step in its order.
    std::vector<std::string> expectedPictures() const
    {
        std::vector<std::string> expected { "01-login", "02-home", "03-menu" };
        int number = 4;
        for (const std::string& key : menu()->functions()) {
            if (shell::ScreenDirectory::shared().contains(key)) {
                expected.push_back((number < 10 ? "0" : "") + std::to_string(number) + "-" + key);
                ++number;
            }
        }
        for (const auto& step : shell::TourSteps::shared().steps())
            expected.push_back(step.picture);
        return expected;
    }

    test::TempDir folder;
    host::HeadlessHost pictures { folder.path() };
    std::shared_ptr<shell::Tour> tour;
    std::optional<bool> outcome;
};

TEST_F(Tour, PicturesTheLoginHomeMenuAndEachBuiltMenuScreen)
{
    shell::ScreenDirectory::shared().add(shell::ScreenDirectory::ClassSchedule,
        [](const std::shared_ptr<core::Device>&, shell::ScreenDirectory::Opening) {
            return std::make_shared<ui::ViewController>();
        });
    launch({ account, password });
    run();
    EXPECT_EQ(outcome, true);
    // The last step puts the earlier device back; its record, and with it its menu rows, come a reply later.
    ASSERT_TRUE(pumpUntil([this] {
        auto detail = home() ? home()->deviceDetail() : nullptr;
        return networkIdle() && detail && detail->serialNumber == core::Singleton::shared().lastSerialnumber();
    }));
    EXPECT_EQ(tour->pictures(), expectedPictures());
    EXPECT_NE(std::find_if(tour->pictures().begin(), tour->pictures().end(),
                  [](const std::string& name) { return name.ends_with("-class_schedule"); }),
        tour->pictures().end());
    for (const auto& name : tour->pictures())
        EXPECT_GT(std::filesystem::file_size(folder.path() / (name + ".png")), 1000u) << name;
}

// The service keeps what a tour changed (a step challenge ended, among others): a second tour against it
// walks every screen all the same.
TEST_F(Tour, ASecondTourAgainstTheServiceTheFirstLeftBehindAlsoFinishes)
{
    launch({ account, password });
    run();
    ASSERT_EQ(outcome, true);
    auto first = tour->pictures();

    tour.reset();
    outcome.reset();
    application.reset();
    clock->advance(5s);
    launch({ account, password });
    run();
    EXPECT_EQ(outcome, true);
    EXPECT_EQ(tour->pictures(), first);
}

TEST_F(Tour, RegisteredStepsFollowTheMenuStepsInTheirOrder)
{
    shell::ScreenDirectory::shared().add(shell::ScreenDirectory::ClassSchedule,
        [](const std::shared_ptr<core::Device>&, shell::ScreenDirectory::Opening) {
            return std::make_shared<ui::ViewController>();
        });
    auto pushed = std::make_shared<ui::ViewController>();
    pushed->view()->setBackgroundColor(gfx::Color::magenta());
    std::vector<std::string> events;
    shell::TourSteps::shared().add({ "pushed-screen",
        [&] {
            events.push_back("action");
            shell::TourContext::popToCentreRoot();
            shell::TourContext::openMenuRow("home_page");
        },
        [&] {
            if (!shell::TourContext::home() || !shell::TourContext::drawerAtRest(kit::DrawerSide::None))
                return false;
            // The check below tells whether the push took.
            if (shell::TourContext::topOfCentre() != pushed)
                (void)shell::TourContext::pushOnHome(pushed);
            return shell::TourContext::topOfCentre() == pushed && shell::TourContext::networkIdle();
        },
        [&] {
            events.push_back("then");
            shell::TourContext::popToCentreRoot();
        } });
    shell::TourSteps::shared().add({ "after-pushed", [&] { events.push_back("second"); }, {}, {} });
    launch({ account, password });
    run();
    EXPECT_EQ(outcome, true);
    auto pictures = tour->pictures();
    EXPECT_EQ(pictures, expectedPictures());
    ASSERT_GE(pictures.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(pictures.end() - 2, pictures.end()),
        (std::vector<std::string> { "pushed-screen", "after-pushed" }));
    EXPECT_EQ(events, (std::vector<std::string> { "action", "then", "second" }));
    auto picture = gfx::Image::fromFile(folder.path() / "pushed-screen.png");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixel(320, 800), gfx::Color::magenta().premultipliedARGB()) << "the pushed screen was pictured";
}

TEST_F(Tour, AScreenThatNeverComesEndsTheTourAsFailed)
{
    launch({ account, "not the password" });
    run();
    EXPECT_EQ(outcome, false);
    EXPECT_EQ(tour->pictures(), std::vector<std::string> { "01-login" });
}

} // namespace
