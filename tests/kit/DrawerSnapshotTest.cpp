// Renders the application's drawer container closed, half open and open, writes the frames to snapshots/
// for people to look at, and checks what shows where.
#include "DrawerFixture.h"

#include "kit/drawer/DrawerSetup.h"
#include "ui/render/ScreenRenderer.h"

#include <filesystem>

namespace test {
namespace {

    using kit::DrawerSide;

    const gfx::Color menuColor = gfx::Color::rgb(0.16, 0.20, 0.26);
    const gfx::Color barColor = gfx::Color::rgb(0.15, 0.55, 0.85);

    // A screen of `rows` plain stripes under an optional top bar, on `background`.
    std::shared_ptr<ui::ViewController> screen(gfx::Color background, gfx::Color stripe, bool withBar)
    {
        auto controller = std::make_shared<ui::ViewController>();
        const auto& view = controller->view();
        view->setBackgroundColor(background);
        double top = 20;
        if (withBar) {
            auto bar = std::make_shared<ui::View>(gfx::Rect { 0, 20, 320, 44 });
            bar->setBackgroundColor(barColor);
            view->addSubview(bar);
            top = 64;
        }
        for (int row = 0; row < 8; ++row) {
            auto line = std::make_shared<ui::View>(gfx::Rect { 15, top + 20 + row * 50, 200, 12 });
            line->setBackgroundColor(stripe);
            view->addSubview(line);
        }
        return controller;
    }

    std::filesystem::path snapshotFolder()
    {
        auto folder = std::filesystem::path(LUMET_SNAPSHOT_DIR);
        std::filesystem::create_directories(folder);
        return folder;
    }

    gfx::Color pixelAt(const gfx::Image& image, gfx::Point point)
    {
        return gfx::Color::fromPremultipliedARGB(
            image.pixel(int(point.x * image.scale()), int(point.y * image.scale())));
    }

    bool near(const gfx::Color& a, const gfx::Color& b)
    {
        constexpr double tolerance = 2.0 / 255;
        return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
    }

    class DrawerSnapshotTest : public DrawerTest {
    protected:
        void SetUp() override
        {
            DrawerTest::SetUp();
            drawer = kit::makeApplicationDrawerController(screen(gfx::Color::white(), gfx::Color::lightGray(), true),
                screen(menuColor, gfx::Color::gray(), false));
            drawer->view()->setFrame(window->bounds());
            window->addSubview(drawer->view());
            turn();
        }

        std::shared_ptr<gfx::Image> render(const std::string& name)
        {
            turn();
            auto image = ui::ScreenRenderer::renderImage();
            if (image)
                image->writePNG(snapshotFolder() / ("drawer-" + name + ".png"));
            return image;
        }

        // Puts the centre where a pan would leave it, with the drawer's visual state to match.
        void showPercent(double percent)
        {
            const auto& container = drawer->centerContainerView();
            gfx::Rect frame = container->frame();
            frame.origin.x = drawer->maximumLeftDrawerWidth() * percent;
            container->setFrame(frame);
            const auto& menu = drawer->leftDrawerViewController()->view();
            menu->setHidden(false);
            menu->setFrame({ 0, 0, drawer->maximumLeftDrawerWidth(), 568 });
            drawer->updateDrawerVisualState(DrawerSide::Left, percent);
        }
    };

    TEST_F(DrawerSnapshotTest, ClosedHalfOpenAndOpen)
    {
        auto closed = render("closed");
        ASSERT_TRUE(closed);
        EXPECT_TRUE(near(pixelAt(*closed, { 5, 320 }), gfx::Color::white()));
        EXPECT_TRUE(near(pixelAt(*closed, { 160, 40 }), barColor));

        showPercent(0.5);
        auto half = render("half-open");
        ASSERT_TRUE(half);
        // The menu shows left of the centre's edge at 130, and the centre's shadow darkens it near the edge.
        EXPECT_TRUE(near(pixelAt(*half, { 5, 320 }), menuColor));
        gfx::Color nearEdge = pixelAt(*half, { 127, 320 });
        EXPECT_LT(nearEdge.r + nearEdge.g + nearEdge.b, menuColor.r + menuColor.g + menuColor.b);
        EXPECT_TRUE(near(pixelAt(*half, { 200, 320 }), gfx::Color::white()));

        drawer->openDrawerSide(DrawerSide::Left, false);
        turn();
        auto open = render("open");
        ASSERT_TRUE(open);
        EXPECT_TRUE(near(pixelAt(*open, { 5, 320 }), menuColor));
        EXPECT_TRUE(near(pixelAt(*open, { 300, 40 }), barColor));
    }

} // namespace
} // namespace test
