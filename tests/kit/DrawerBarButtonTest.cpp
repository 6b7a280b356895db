#include "DrawerFixture.h"

#include "base/system/Facts.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/images/ImageContext.h"
#include "kit/drawer/DrawerBarButtonItem.h"
#include "kit/drawer/DrawerMenuButtonView.h"

#include <cmath>

namespace test {
namespace {

    using ui::ControlState::Highlighted;
    using ui::ControlState::Normal;
    using ui::ControlState::Selected;

    class DrawerBarButtonTest : public DrawerTest {
    protected:
        void TearDown() override
        {
            base::Facts::current().setPlatformVersionNumber(m_platformVersion);
            DrawerTest::TearDown();
        }

    private:
        double m_platformVersion { base::Facts::current().platformVersionNumber() };
    };

    bool sameColor(const gfx::Color& a, const gfx::Color& b, double tolerance = 1e-9)
    {
        return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance
            && std::abs(a.a - b.a) <= tolerance;
    }

    // Draws the button's glyph alone into a transparent image at scale 2.
    std::shared_ptr<gfx::Image> drawGlyph(kit::DrawerMenuButtonView& button)
    {
        gfx::ImageContext::begin(button.bounds().size, false, 2);
        button.drawRect(button.bounds());
        auto image = gfx::ImageContext::image();
        gfx::ImageContext::end();
        return image;
    }

    gfx::Color colorAt(const gfx::Image& image, double x, double y)
    {
        return gfx::Color::fromPremultipliedARGB(image.pixel(int(x * 2), int(y * 2)));
    }

    TEST_F(DrawerBarButtonTest, MenuButtonHasAColourPairForNormalAndHighlightedOnly)
    {
        kit::DrawerMenuButtonView button({ 0, 0, 26, 26 });
        EXPECT_EQ(button.menuButtonColorForState(Normal), gfx::Color::white().withAlpha(0.9f));
        EXPECT_EQ(
            button.menuButtonColorForState(Highlighted), gfx::Color::rgb(139.0 / 255, 135.0 / 255, 136.0 / 255, 0.9f));
        EXPECT_EQ(button.shadowColorForState(Normal), gfx::Color::black().withAlpha(0.5));
        EXPECT_EQ(button.shadowColorForState(Highlighted), gfx::Color::black().withAlpha(0.2f));
        EXPECT_FALSE(button.menuButtonColorForState(Selected));
        EXPECT_FALSE(button.shadowColorForState(Highlighted | Selected));
    }

    TEST_F(DrawerBarButtonTest, SettingAColourForAnotherStateOnlyRedraws)
    {
        auto button = std::make_shared<kit::DrawerMenuButtonView>(gfx::Rect { 0, 0, 26, 26 });
        window->addSubview(button);
        turn();
        EXPECT_FALSE(button->layer()->needsDisplay());
        button->setMenuButtonColor(gfx::Color::red(), Selected);
        EXPECT_TRUE(button->layer()->needsDisplay());
        EXPECT_FALSE(button->menuButtonColorForState(Selected));
        EXPECT_EQ(button->menuButtonColorForState(Normal), gfx::Color::white().withAlpha(0.9f));

        button->setShadowColor(gfx::Color::blue(), Normal);
        EXPECT_EQ(button->shadowColorForState(Normal), gfx::Color::blue());
    }

    TEST_F(DrawerBarButtonTest, GlyphIsThreeBarsOverAHardShadow)
    {
        kit::DrawerMenuButtonView button({ 0, 0, 26, 26 });
        button.setMenuButtonColor(gfx::Color::white(), Normal);
        button.setShadowColor(gfx::Color::black(), Normal);
        auto image = drawGlyph(button);
        ASSERT_TRUE(image);
        // Bars 20.8 x 4.16 at x 2.6 and y 3.12, 10.4 and 17.68; the shadow one point below each.
        for (double top : { 3.12, 10.4, 17.68 }) {
            EXPECT_TRUE(sameColor(colorAt(*image, 13, top + 2), gfx::Color::white(), 0.01)) << top;
            EXPECT_TRUE(sameColor(colorAt(*image, 13, top + 4.6), gfx::Color::black(), 0.01)) << top;
        }
        EXPECT_EQ(colorAt(*image, 13, 9).a, 0);
        EXPECT_EQ(colorAt(*image, 1, 5).a, 0);
        EXPECT_EQ(colorAt(*image, 25, 5).a, 0);
    }

    TEST_F(DrawerBarButtonTest, PressingHighlightsTheGlyphAndSendsTheActionOnRelease)
    {
        auto button = std::make_shared<kit::DrawerMenuButtonView>(gfx::Rect { 100, 100, 26, 26 });
        window->addSubview(button);
        ui::Control* sender = nullptr;
        button->addAction([&](ui::Control& control) { sender = &control; }, ui::ControlEvent::TouchUpInside);
        turn();

        finger.down({ 113, 113 });
        EXPECT_TRUE(button->isHighlighted());
        // Grey at 0.9 over its own shadow (black at 0.2): alpha 0.92, colour 0.9 / 0.92 of the grey.
        gfx::Color pressed = colorAt(*drawGlyph(*button), 13, 5);
        EXPECT_NEAR(pressed.a, 0.92, 0.01);
        EXPECT_NEAR(pressed.r, 139.0 / 255 * 0.9 / 0.92, 0.01);
        EXPECT_NEAR(pressed.g, 135.0 / 255 * 0.9 / 0.92, 0.01);
        finger.up();
        EXPECT_FALSE(button->isHighlighted());
        EXPECT_EQ(sender, button.get());
    }

    // The bar button item.

    TEST_F(DrawerBarButtonTest, ItemShowsTheHomeImageOnCurrentPlatforms)
    {
        base::Facts::current().setPlatformVersionNumber(994);
        int toggles = 0;
        auto item = kit::DrawerBarButtonItem::make([&](ui::BarButtonItem&) { ++toggles; });
        EXPECT_EQ(item->buttonView(), nullptr);
        ASSERT_TRUE(item->image());
        EXPECT_EQ(item->image()->size(), (gfx::Size { 22, 22 }));
        EXPECT_EQ(item->image()->scale(), 2);
        EXPECT_EQ(item->style(), ui::BarButtonItemStyle::Plain);
        EXPECT_EQ(item->tintColor(), gfx::Color::white());

        item->setTintColor(gfx::Color::blue());
        EXPECT_EQ(item->tintColor(), gfx::Color::blue());
        EXPECT_EQ(item->buttonView(), nullptr);
        item->setMenuButtonColor(gfx::Color::red(), Normal);
        EXPECT_FALSE(item->menuButtonColorForState(Normal));
        EXPECT_FALSE(item->shadowColorForState(Normal));

        item->sendAction();
        EXPECT_EQ(toggles, 1);
    }

    TEST_F(DrawerBarButtonTest, ItemDrawsTheGlyphOnOldPlatformsAndSendsItsActionOnRelease)
    {
        base::Facts::current().setPlatformVersionNumber(993.9);
        int toggles = 0;
        ui::BarButtonItem* sender = nullptr;
        auto item = kit::DrawerBarButtonItem::make([&](ui::BarButtonItem& from) {
            ++toggles;
            sender = &from;
        });
        const auto& button = item->buttonView();
        ASSERT_TRUE(button);
        EXPECT_EQ(item->customView(), button);
        EXPECT_EQ(button->frame(), (gfx::Rect { 0, 0, 26, 26 }));
        EXPECT_FALSE(item->image());

        item->setMenuButtonColor(gfx::Color::red(), Highlighted);
        EXPECT_EQ(button->menuButtonColorForState(Highlighted), gfx::Color::red());
        item->setTintColor(gfx::Color::blue());
        EXPECT_EQ(button->tintColor(), gfx::Color::blue());

        button->setFrame({ 50, 50, 26, 26 });
        window->addSubview(button);
        finger.down({ 60, 60 });
        EXPECT_TRUE(button->isHighlighted());
        EXPECT_EQ(toggles, 0);
        finger.up();
        EXPECT_EQ(toggles, 1);
        EXPECT_EQ(sender, item.get());
    }

    TEST_F(DrawerBarButtonTest, ClassImageIsThreeWhiteLinesMadeOnce)
    {
        auto image = kit::DrawerBarButtonItem::drawerButtonItemImage();
        ASSERT_TRUE(image);
        EXPECT_EQ(image, kit::DrawerBarButtonItem::drawerButtonItemImage());
        EXPECT_EQ(image->size(), (gfx::Size { 26, 26 }));
        for (double y : { 6.5, 12.5, 18.5 }) {
            EXPECT_EQ(colorAt(*image, 5.2, y), gfx::Color::white()) << y;
            EXPECT_EQ(colorAt(*image, 20.8, y), gfx::Color::white()) << y;
            EXPECT_EQ(colorAt(*image, 4.8, y).a, 0) << y;
            EXPECT_EQ(colorAt(*image, 21.2, y).a, 0) << y;
            EXPECT_EQ(colorAt(*image, 13, y + 1).a, 0) << y;
        }
    }

} // namespace
} // namespace test
