// The pixel probes of the screen tests: they read what the rendered screen shows, so a label that is
// hidden, covered or drawn elsewhere, or a view of the wrong colour, makes them fail.
#include "support/ScreenProbe.h"

#include "base/ClockFixture.h"
#include "gfx/text/FixedTextMeasurer.h"
#include "ui/controls/Label.h"
#include "ui/view/Screen.h"
#include "ui/view/Window.h"

namespace {

class ScreenProbe : public test::ManualClockTest {
protected:
    void SetUp() override
    {
        ManualClockTest::SetUp();
        ui::Screen::main().setBounds(ui::Screen::defaultBounds);
        ui::Screen::main().setScale(2);
        window = std::make_shared<ui::Window>();
        window->setBackgroundColor(gfx::Color::white());
        window->makeKeyAndVisible();
        panel = std::make_shared<ui::View>(gfx::Rect { 20, 100, 200, 80 });
        panel->setBackgroundColor(gfx::Color::blue());
        window->addSubview(panel);
        label = std::make_shared<ui::Label>(gfx::Rect { 10, 10, 180, 30 });
        label->setText("Upload interval");
        label->setTextColor(gfx::Color::white());
        panel->addSubview(label);
    }
    void TearDown() override
    {
        window->setHidden(true);
        window.reset();
        ManualClockTest::TearDown();
    }

    gfx::TextMeasurer::Override fixedText { std::make_shared<gfx::FixedTextMeasurer>() };
    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::View> panel;
    std::shared_ptr<ui::Label> label;
};

TEST_F(ScreenProbe, ColourAtReadsTheRenderedPointOfAViewOrWindow)
{
    EXPECT_EQ(test::ScreenProbe::colourAt(*panel, { 190, 70 }), gfx::Color::blue());
    EXPECT_EQ(test::ScreenProbe::colourAt(*window, { 10, 300 }), gfx::Color::white());
    EXPECT_EQ(test::ScreenProbe::toScreen(*label, gfx::Point { 1, 2 }), (gfx::Point { 31, 112 }));
    panel->setBackgroundColor(gfx::Color::red());
    EXPECT_EQ(test::ScreenProbe::colourAt(*panel, { 190, 70 }), gfx::Color::red()) << "rendered afresh";
}

TEST_F(ScreenProbe, TextInRegionFindsAShownLabelWhereItsTextIsDrawn)
{
    // 17 pt system text at half an em a character: 15 characters are 127.5 points wide, left-aligned.
    EXPECT_TRUE(test::ScreenProbe::textInRegion("Upload interval", { 20, 100, 200, 80 }));
    EXPECT_TRUE(test::ScreenProbe::textInRegion("interval", { 25, 105, 150, 40 }));
    EXPECT_FALSE(test::ScreenProbe::textInRegion("Upload interval", { 20, 200, 200, 80 })) << "another region";
    EXPECT_FALSE(test::ScreenProbe::textInRegion("Sound command", { 0, 0, 320, 568 }));

    label->setTextAlignment(gfx::TextAlignment::Right);
    EXPECT_FALSE(test::ScreenProbe::textInRegion("Upload interval", { 25, 105, 100, 40 }));
    EXPECT_TRUE(test::ScreenProbe::textInRegion("Upload interval", { 60, 105, 160, 40 }));
}

TEST_F(ScreenProbe, HiddenOrCoveredTextIsNotPresent)
{
    gfx::Rect region { 0, 0, 320, 568 };
    panel->setHidden(true);
    EXPECT_FALSE(test::ScreenProbe::textInRegion("Upload interval", region));
    panel->setHidden(false);

    auto cover = std::make_shared<ui::View>(gfx::Rect { 0, 90, 320, 100 });
    cover->setBackgroundColor(gfx::Color::gray());
    window->addSubview(cover);
    EXPECT_FALSE(test::ScreenProbe::textInRegion("Upload interval", region)) << "nothing drawn shows through";
    cover->removeFromSuperview();
    EXPECT_TRUE(test::ScreenProbe::textInRegion("Upload interval", region));
}

} // namespace
