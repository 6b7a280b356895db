#include "ui/render/Renderer.h"
#include "gfx/drawing/CurrentContext.h"
#include "gfx/images/ImageContext.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/layer/ShapeLayer.h"
#include "ui/animation/Transaction.h"
#include "ui/view/View.h"
#include "ui/view/Window.h"

#include "UITestFixture.h"

#include <numbers>

using gfx::Color;
using gfx::Rect;

namespace {

constexpr uint32_t red = 0xFFFF0000u;
constexpr uint32_t blue = 0xFF0000FFu;
constexpr uint32_t black = 0xFF000000u;

class Renderer : public test::UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        // Changes below are set up at once, not animated.
        ui::Transaction::begin();
        ui::Transaction::setDisableActions(true);
        root = std::make_shared<ui::Layer>();
        root->setFrame({ 0, 0, 60, 60 });
    }
    void TearDown() override
    {
        ui::Transaction::commit();
        UITest::TearDown();
    }

    std::shared_ptr<ui::Layer> add(const Rect& frame, Color background, ui::Layer* parent = nullptr)
    {
        auto layer = std::make_shared<ui::Layer>();
        layer->setFrame(frame);
        layer->setBackgroundColor(background);
        (parent ? *parent : *root).addSublayer(layer);
        return layer;
    }

    // The root drawn at scale 1 into a 60 x 60 bitmap.
    uint32_t pixel(int x, int y, ui::RenderOptions options = {})
    {
        if (!rendered) {
            rendered = gfx::Context::makeBitmap({ 60, 60 }, 1);
            ui::Renderer::renderLayer(*rendered, *root, options);
        }
        return rendered->bitmap()->pixel(x, y);
    }
    static int alpha(uint32_t p) { return static_cast<int>(p >> 24); }

    std::shared_ptr<ui::Layer> root;
    std::shared_ptr<gfx::Context> rendered;
};

} // namespace

TEST_F(Renderer, CornerRadiusRoundsTheBackgroundAndMaskingClipsSublayers)
{
    auto card = add({ 10, 10, 40, 40 }, Color::red());
    card->setCornerRadius(10);
    add({ 30, 30, 30, 30 }, Color::blue(), card.get());
    EXPECT_EQ(alpha(pixel(10, 10)), 0);
    EXPECT_EQ(pixel(20, 20), red);
    EXPECT_EQ(pixel(55, 55), blue); // beyond the card: not clipped

    rendered.reset();
    card->setMasksToBounds(true);
    EXPECT_EQ(alpha(pixel(55, 55)), 0);
    EXPECT_EQ(alpha(pixel(49, 49)), 0); // the rounded corner clips too
    EXPECT_EQ(pixel(45, 40), blue);
}

TEST_F(Renderer, TheBorderLiesInsideTheBoundsAboveTheSublayers)
{
    auto card = add({ 10, 10, 40, 40 }, Color::red());
    card->setBorderWidth(2);
    card->setBorderColor(Color::black());
    add({ 0, 0, 40, 40 }, Color::blue(), card.get());
    EXPECT_EQ(pixel(10, 10), black);
    EXPECT_EQ(pixel(11, 30), black);
    EXPECT_EQ(pixel(12, 30), blue);
    EXPECT_EQ(alpha(pixel(9, 30)), 0);
}

TEST_F(Renderer, ShadowsFallByTheirOffsetAndMaskingSuppressesThem)
{
    auto card = add({ 20, 20, 20, 20 }, Color::red());
    card->setShadowOpacity(1);
    card->setShadowRadius(0);
    // The default offset (0, -3) casts the shadow upwards.
    EXPECT_EQ(pixel(30, 18), black);
    EXPECT_EQ(alpha(pixel(30, 41)), 0);
    EXPECT_EQ(pixel(30, 30), red);

    rendered.reset();
    card->setShadowOffset({ 0, 5 });
    card->setShadowPath(gfx::Path::rect({ 0, 0, 10, 20 }));
    EXPECT_EQ(pixel(25, 43), black);
    EXPECT_EQ(alpha(pixel(35, 43)), 0);

    rendered.reset();
    card->setMasksToBounds(true);
    EXPECT_EQ(alpha(pixel(25, 43)), 0);
}

TEST_F(Renderer, OpacityAppliesToTheLayerAndItsSublayersAsOneGroup)
{
    auto group = add({ 0, 0, 60, 60 }, Color::clear());
    group->setOpacity(0.5);
    add({ 0, 0, 40, 40 }, Color::red(), group.get());
    add({ 20, 20, 40, 40 }, Color::red(), group.get());
    EXPECT_EQ(pixel(10, 10), pixel(30, 30));
    EXPECT_NEAR(alpha(pixel(30, 30)), 128, 1);
}

TEST_F(Renderer, TransformsTurnAboutTheAnchorPoint)
{
    auto bar = add({ 0, 25, 60, 10 }, Color::red());
    EXPECT_EQ(alpha(pixel(30, 5)), 0);
    rendered.reset();
    bar->setAffineTransform(gfx::AffineTransform::makeRotation(std::numbers::pi / 2));
    EXPECT_EQ(pixel(30, 5), red);
    EXPECT_EQ(alpha(pixel(5, 30)), 0);
}

TEST_F(Renderer, RunningAnimationsAreDrawnAtTheirCurrentValue)
{
    auto box = add({ 0, 0, 10, 10 }, Color::red());
    ui::Transaction::setDisableActions(false);
    ui::Transaction::setAnimationDuration(1);
    ui::Transaction::setAnimationTimingFunction(ui::TimingFunction::linear());
    box->setPosition({ 45, 5 });
    advance(0.5);
    EXPECT_EQ(pixel(25, 5), red);
    EXPECT_EQ(alpha(pixel(45, 5)), 0);
    rendered.reset();
    ui::RenderOptions model;
    model.presentation = false;
    EXPECT_EQ(pixel(45, 5, model), red);
}

TEST_F(Renderer, ContentsFollowTheirGravityAtTheirScale)
{
    auto image = gfx::Context::makeBitmap({ 10, 10 }, 2);
    image->setFillColor(Color::blue());
    image->fillRect({ 0, 0, 10, 10 });
    auto picture = add({ 0, 0, 60, 60 }, Color::clear());
    picture->setContents(image->makeImage());
    picture->setContentsScale(2);
    picture->setContentsGravity(ui::ContentsGravity::Center);
    EXPECT_EQ(pixel(30, 30), blue);
    EXPECT_EQ(alpha(pixel(24, 30)), 0);
    rendered.reset();
    picture->setContentsGravity(ui::ContentsGravity::Resize);
    EXPECT_EQ(pixel(1, 1), blue);
}

TEST_F(Renderer, ShapeLayersStrokeUpToTheirStrokeEnd)
{
    auto shape = std::make_shared<ui::ShapeLayer>();
    shape->setFrame({ 0, 0, 60, 60 });
    gfx::Path line;
    line.moveTo({ 0, 30 });
    line.lineTo({ 60, 30 });
    shape->setPath(line);
    shape->setFillColor(std::nullopt);
    shape->setStrokeColor(Color::red());
    shape->setLineWidth(4);
    shape->setStrokeEnd(0.5);
    root->addSublayer(shape);
    EXPECT_EQ(pixel(20, 30), red);
    EXPECT_EQ(alpha(pixel(40, 30)), 0);
}

TEST_F(Renderer, SnapshotsDrawViewsNotYetShownAndLayersAtTheirModelValues)
{
    class Dot : public ui::View {
    public:
        using ui::View::View;
        void drawRect(const Rect&) override
        {
            auto* context = gfx::CurrentContext::get();
            context->setFillColor(Color::blue());
            context->fillRect({ 0, 0, 5, 5 });
        }
    };
    auto view = std::make_shared<ui::View>(Rect(0, 0, 20, 20));
    view->setBackgroundColor(Color::red());
    view->addSubview(std::make_shared<Dot>(Rect(10, 10, 10, 10)));

    gfx::ImageContext::begin({ 40, 40 }, false, 1);
    EXPECT_TRUE(view->drawViewHierarchyInRect({ 0, 0, 40, 40 }, true));
    auto snapshot = gfx::ImageContext::image();
    gfx::ImageContext::end();
    EXPECT_EQ(snapshot->pixel(5, 5), red);
    EXPECT_EQ(snapshot->pixel(22, 22), blue);
    EXPECT_EQ(snapshot->pixel(35, 35), red);
    EXPECT_FALSE(view->drawViewHierarchyInRect({ 0, 0, 1, 1 }, false));

    auto context = gfx::Context::makeBitmap({ 20, 20 }, 1);
    context->translateBy(-5, 0);
    view->layer()->renderInContext(*context);
    EXPECT_EQ(context->bitmap()->pixel(10, 0), red);
    EXPECT_EQ(context->bitmap()->pixel(7, 12), blue);
}

// A 6 x 6 image: a red frame of two pixels round a blue middle; stretched with caps of 2 the frame keeps its
// width at any size.
std::shared_ptr<gfx::Image> framedImage()
{
    auto context = gfx::Context::makeBitmap({ 6, 6 }, 1);
    context->setFillColor(Color::red());
    context->fillRect({ 0, 0, 6, 6 });
    context->setFillColor(Color::blue());
    context->fillRect({ 2, 2, 2, 2 });
    return context->makeImage()->stretchableImage(2, 2);
}

TEST_F(Renderer, ImageViewsAndButtonBackgroundsDrawStretchableImagesStretched)
{
    auto imageView = std::make_shared<ui::ImageView>(framedImage());
    imageView->setFrame({ 0, 0, 40, 20 });
    auto button = std::make_shared<ui::Button>(Rect { 0, 30, 50, 30 });
    button->setBackgroundImage(framedImage(), ui::ControlState::Normal);
    button->layoutIfNeeded();
    root->addSublayer(imageView->layer());
    root->addSublayer(button->layer());

    EXPECT_EQ(pixel(1, 1), red);
    EXPECT_EQ(pixel(3, 10), blue) << "plain scaling would widen the frame to thirteen pixels";
    EXPECT_EQ(pixel(36, 16), blue);
    EXPECT_EQ(pixel(38, 18), red);
    EXPECT_EQ(pixel(1, 45), red);
    EXPECT_EQ(pixel(3, 33), blue);
    EXPECT_EQ(pixel(46, 56), blue);
    EXPECT_EQ(pixel(49, 59), red);
}
