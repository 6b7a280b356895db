#include "ui/render/ScreenFrame.h"
#include "gfx/drawing/BlurredAlphaCache.h"
#include "ui/animation/BasicAnimation.h"
#include "ui/controls/Label.h"
#include "ui/controls/NavigationBar.h"
#include "ui/render/ScreenRenderer.h"
#include "ui/render/ShadowRasters.h"
#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <cairo.h>
#include <limits>
#include <numbers>

namespace {

// A screen with text, a rounded card with a path shadow, a panel whose whole drawing casts its shadow, and a
// square that turns for ever.
class ScreenFrame : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        window = std::make_shared<ui::Window>();
        window->setBackgroundColor(gfx::Color::fromWhite(0.94, 1));
        auto card = std::make_shared<ui::View>(gfx::Rect { 16, 84, 288, 200 });
        card->setBackgroundColor(gfx::Color::white());
        card->layer()->setCornerRadius(10);
        card->layer()->setShadowOpacity(0.5f);
        card->layer()->setShadowRadius(6);
        card->layer()->setShadowPath(gfx::Path::roundedRect({ 0, 0, 288, 200 }, 10));
        window->addSubview(card);
        label = std::make_shared<ui::Label>(gfx::Rect { 10, 20, 268, 30 });
        label->setText("Watch 手表");
        card->addSubview(label);
        panel = std::make_shared<ui::View>(gfx::Rect { 40, 320, 120, 80 });
        panel->layer()->setShadowOpacity(0.8f);
        panel->layer()->setShadowRadius(5);
        auto face = std::make_shared<ui::View>(gfx::Rect { 0, 0, 120, 80 });
        face->setBackgroundColor(gfx::Color::rgb(0.2, 0.5, 0.9));
        panel->addSubview(face);
        window->addSubview(panel);
        sign = std::make_shared<ui::View>(gfx::Rect { 140, 480, 40, 40 });
        sign->setBackgroundColor(gfx::Color::rgb(0.9, 0.3, 0.1));
        auto spin = std::make_shared<ui::BasicAnimation>("transform.rotation.z");
        const ui::AnimatableValue quarterTurn(std::numbers::pi / 2);
        spin->setByValue(quarterTurn);
        spin->setDuration(3);
        spin->setCumulative(true);
        spin->setRepeatCount(std::numeric_limits<double>::infinity());
        sign->layer()->addAnimation(spin, "turn");
        window->addSubview(sign);
        window->makeKeyAndVisible();
        turn();
    }
    void TearDown() override
    {
        window->setHidden(true);
        window.reset();
        UITest::TearDown();
    }

    // Whether the kept picture is pixel for pixel what a whole redraw makes.
    bool matchesWholeRedraw()
    {
        auto whole = ui::ScreenRenderer::renderImage();
        auto kept = frame.pixels();
        for (int y = 0; y < kept->height; ++y) {
            for (int x = 0; x < kept->width; ++x) {
                if (kept->pixel(x, y) != whole->pixel(x, y)) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " differs: " << std::hex << kept->pixel(x, y)
                                  << " against " << whole->pixel(x, y);
                    return false;
                }
            }
        }
        return true;
    }
    static double area(const gfx::Rect& r) { return r.width() * r.height(); }
    // Lets three frames of the sign's turn pass; each redraws something, within a square of `side` pixels,
    // and leaves the kept picture as a whole redraw would.
    void expectEachTurnFrameWithin(double side)
    {
        for (int step = 0; step < 3; ++step) {
            advance(1.0 / 60);
            gfx::Rect dirty = frame.update();
            EXPECT_FALSE(dirty.isNull());
            EXPECT_LE(area(dirty), side * side);
            EXPECT_TRUE(matchesWholeRedraw());
        }
    }

    // Lets the layers keep their values long enough for the screen to count as at rest, while the sign turns
    // on and is drawn.
    void comeToRest()
    {
        for (int second = 0; second < 3; ++second) {
            advance(1);
            frame.update();
        }
    }

    std::shared_ptr<ui::Window> window;
    std::shared_ptr<ui::Label> label;
    std::shared_ptr<ui::View> panel;
    std::shared_ptr<ui::View> sign;
    ui::ScreenFrame frame;
};

} // namespace

TEST_F(ScreenFrame, RedrawsOnlyTheTurningSignAndMatchesAWholeRedraw)
{
    EXPECT_EQ(frame.update(), gfx::Rect(0, 0, 640, 1136));
    EXPECT_TRUE(frame.update().isNull());

    // The square's circle of turn, at scale 2, and no more than a small margin around it.
    expectEachTurnFrameWithin(124);
    EXPECT_TRUE(frame.update().isNull());
}

TEST_F(ScreenFrame, ANavigationBarAtRestAddsNothingToTheTurningSignsDamage)
{
    auto bar = std::make_shared<ui::NavigationBar>(gfx::Rect { 0, 20, 0, 0 });
    bar->pushNavigationItem(std::make_shared<ui::NavigationItem>("Home"));
    bar->pushNavigationItem(std::make_shared<ui::NavigationItem>("Attendance"));
    bar->topItem()->setRightBarButtonItem(
        std::make_shared<ui::BarButtonItem>("Edit", ui::BarButtonItemStyle::Plain, nullptr));
    window->addSubview(bar);
    turn();
    frame.update();

    expectEachTurnFrameWithin(124);
}

TEST_F(ScreenFrame, ChangedTextShadowedTreesAndTheStripComeOutAsAWholeRedraw)
{
    frame.update();
    label->setText("Watch 2");
    turn();
    EXPECT_FALSE(frame.update().isNull());
    EXPECT_TRUE(matchesWholeRedraw());

    // The panel's shadow comes from what it draws: moving it redraws its old and new shadow exactly.
    panel->setFrame({ 60, 300, 120, 80 });
    turn();
    frame.update();
    EXPECT_TRUE(matchesWholeRedraw());

    // The strip's state is not a layer's: it is redrawn when it changes, and only its own part.
    ui::Application::shared().setStatusBarStyle(ui::StatusBarStyle::LightContent);
    gfx::Rect strip = frame.update();
    EXPECT_EQ(strip, gfx::Rect(0, 0, 640, 40));
    EXPECT_TRUE(matchesWholeRedraw());
    ui::Application::shared().setStatusBarStyle(ui::StatusBarStyle::Default);
}

TEST_F(ScreenFrame, ASignTurningOverAScreenWideShadowDamagesOnlyItsTurn)
{
    // A sheet over the whole screen casts a shadow from its outline, as a drawer's centre does; the sign turns
    // inside it, near its bottom edge, where that shadow is not even.
    auto sheet = std::make_shared<ui::View>(gfx::Rect { 0, 0, 320, 568 });
    sheet->setBackgroundColor(gfx::Color::white());
    sheet->layer()->setShadowOpacity(0.8f);
    sheet->layer()->setShadowRadius(10);
    sheet->layer()->setShadowPath(gfx::Path::rect({ 0, 0, 320, 568 }));
    window->addSubview(sheet);
    sign->setFrame({ 143, 527, 23, 23 });
    sheet->addSubview(sign);
    turn();
    frame.update();

    expectEachTurnFrameWithin(76);
}

TEST_F(ScreenFrame, APathShadowMovedOrRecolouredComesOutAsAWholeRedraw)
{
    frame.update();
    auto card = label->superview();
    for (gfx::Point to : { gfx::Point { 30, 90 }, gfx::Point { 30.25, 95.5 }, gfx::Point { 12, 300 } }) {
        card->setFrame({ to.x, to.y, 288, 200 });
        turn();
        frame.update();
        EXPECT_TRUE(matchesWholeRedraw());
    }
    card->layer()->setShadowColor(gfx::Color::rgb(0.6, 0.1, 0.1));
    turn();
    frame.update();
    EXPECT_TRUE(matchesWholeRedraw());
}

TEST_F(ScreenFrame, ChangesFarApartAreRedrawnApartAsAWholeRedrawWouldDrawThem)
{
    frame.update();
    // A sheet whose top edge just shows at the bottom of the screen while the sign turns far above it.
    auto sheet = std::make_shared<ui::View>(gfx::Rect { 0, 567.5, 320, 568 });
    sheet->setBackgroundColor(gfx::Color::rgb(0.1, 0.6, 0.3));
    window->addSubview(sheet);
    turn();
    frame.update();
    EXPECT_TRUE(matchesWholeRedraw());

    // A pixel between the two changes, marked: the box reported holds it, but it is not redrawn.
    const int probeX = 320, probeY = 1090;
    for (double top : { 567.25, 566.75, 565.5 }) {
        sheet->setFrame({ 0, top, 320, 568 });
        turn();
        advance(1.0 / 60);
        uint32_t drawn = frame.pixels()->pixel(probeX, probeY);
        frame.pixels()->setPixel(probeX, probeY, drawn ^ 0x00ffffff);
        gfx::Rect dirty = frame.update();
        EXPECT_TRUE(dirty.contains({ probeX, probeY }));
        EXPECT_EQ(frame.pixels()->pixel(probeX, probeY), drawn ^ 0x00ffffff);
        frame.pixels()->setPixel(probeX, probeY, drawn);
        EXPECT_TRUE(matchesWholeRedraw());
    }
}

// What drawing keeps between frames (here the panel's blurred shadow and the card's) stays while the screen
// changes, and goes once no layer has changed for a second, though the sign never stops turning.
TEST_F(ScreenFrame, DropsTheDrawingCachesOnlyOnceStillForASecond)
{
    frame.update();
    ASSERT_GT(gfx::BlurredAlphaCache::current().size(), 0u);
    auto card = label->superview();
    for (int step = 0; step < 150; ++step) {
        card->setFrame({ 16, 84.0 + step % 2, 288, 200 });
        advance(1.0 / 60);
        frame.update();
    }
    EXPECT_GT(gfx::BlurredAlphaCache::current().size(), 0u) << "kept while the card moves";
    EXPECT_GT(ui::ShadowRasters::main().size(), 0u) << "kept while the card moves";
    comeToRest();
    EXPECT_EQ(gfx::BlurredAlphaCache::current().size(), 0u);
    EXPECT_EQ(ui::ShadowRasters::main().size(), 0u);
    frame.update();
    EXPECT_TRUE(matchesWholeRedraw());
}

// A closed panel that something still holds (the modal presenter keeps its last one) keeps no bitmap at rest;
// the text it drew is drawn again when it comes back. A view in the window, and a picture set as a view's
// contents rather than drawn by it, keep theirs.
TEST_F(ScreenFrame, AtRestLetsGoOfTheDrawingsOfViewsOutsideTheWindows)
{
    auto closed = std::make_shared<ui::Label>(gfx::Rect { 20, 420, 280, 40 });
    closed->setText("Family number 亲情号码");
    auto picture = std::make_shared<ui::View>(gfx::Rect { 20, 470, 40, 40 });
    picture->layer()->setContents(gfx::Image::adopt(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 80, 80), 2));
    window->addSubview(closed);
    window->addSubview(picture);
    turn();
    frame.update();
    ASSERT_NE(closed->layer()->contents(), nullptr);
    closed->removeFromSuperview();
    picture->removeFromSuperview();
    frame.update();

    comeToRest();
    EXPECT_EQ(closed->layer()->contents(), nullptr);
    EXPECT_NE(label->layer()->contents(), nullptr) << "in the window";
    EXPECT_NE(picture->layer()->contents(), nullptr) << "set, not drawn";

    window->addSubview(closed);
    turn();
    EXPECT_NE(closed->layer()->contents(), nullptr);
    frame.update();
    EXPECT_TRUE(matchesWholeRedraw());
}
