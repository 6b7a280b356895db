// The tour that scripts/run takes without a display: it signs in with the account the login screen shows,
// waits for each screen's replies and writes a picture of the login screen, the home screen, the open
// menu and each built menu screen.
#include "ShellFixture.h"

#include "host/HeadlessHost.h"
#include "shell/ScreenDirectory.h"
#include "shell/Tour.h"
#include "shell/TourContext.h"
#include "shell/TourSteps.h"

#include <algorithm>
#include <cctype>

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

    // Whether the expected pictures come in this order among all taken (the feature screens registered add
    // theirs); a menu screen's picture matches by its name after the row number ("class_schedule" matches
    // "05-class_schedule").
    static bool inOrder(const std::vector<std::string>& taken, const std::vector<std::string>& expected)
    {
        auto next = taken.begin();
        for (const auto& name : expected) {
            next = std::find_if(next, taken.end(), [&](const std::string& picture) {
                return picture == name
                    || (picture.size() > name.size() && picture.ends_with("-" + name) && std::isdigit(picture[0]));
            });
            if (next == taken.end())
                return false;
            ++next;
        }
        return true;
    }

    // The login, home and menu pictures, the menu screens built (by row name), then the features' steps.
    static std::vector<std::string> expectedPictures()
    {
        return { "01-login", "02-home", "03-menu", "phone_book", "family_protect", "class_schedule",
            "family-protection", "numbers-lumet", "numbers-parvo", "numbers-quenn", "numbers-newsorby", "listen-number",
            "center-number", "home-fan", "fan-entry", "home-fan-44", "family-number", "phone-book", "phone-book-editor",
            "phone-book-photo", "phone-book-picker" };
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
    EXPECT_TRUE(inOrder(tour->pictures(), expectedPictures()));
    for (const auto& name : tour->pictures())
        EXPECT_GT(std::filesystem::file_size(folder.path() / (name + ".png")), 1000u) << name;
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
            if (shell::TourContext::topOfCentre() != pushed)
                shell::TourContext::pushOnHome(pushed);
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
    auto expected = expectedPictures();
    expected.push_back("pushed-screen");
    EXPECT_TRUE(inOrder(tour->pictures(), expected));
    EXPECT_EQ(tour->pictures().back(), "after-pushed");
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
