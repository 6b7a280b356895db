#include "SnapshotScene.h"

#include "gfx/drawing/CurrentContext.h"
#include "gfx/drawing/Gradient.h"

#include <numbers>

namespace test {

namespace {

    class GradientBand : public ui::View {
    public:
        using ui::View::View;
        void drawRect(const gfx::Rect& rect) override
        {
            auto* context = gfx::CurrentContext::get();
            gfx::Gradient gradient({ { 0, gfx::Color::rgb(0.1, 0.4, 0.9) }, { 1, gfx::Color::rgb(0.9, 0.3, 0.5) } });
            context->drawLinearGradient(gradient, { rect.minX(), 0 }, { rect.maxX(), 0 }, 0);
        }
    };

    class TextBlock : public ui::View {
    public:
        using ui::View::View;
        void drawRect(const gfx::Rect& rect) override
        {
            gfx::TextAttributes title;
            title.font = gfx::Font::boldSystem(16);
            gfx::TextAttributes detail;
            detail.font = gfx::Font::system(14);
            detail.color = gfx::Color::darkGray();
            gfx::AttributedString text("Watch online 手表在线", title);
            text.append("\nBattery 80% 电量", detail);
            gfx::CurrentContext::get()->drawText(text, rect.insetBy(8, 8));
        }
    };

    std::shared_ptr<ui::View> badge(const gfx::Rect& frame, gfx::Color colour)
    {
        auto view = std::make_shared<ui::View>(frame);
        view->setBackgroundColor(colour);
        view->layer()->setCornerRadius(6);
        view->layer()->setBorderWidth(2);
        view->layer()->setBorderColor(gfx::Color::white());
        return view;
    }

} // namespace

SnapshotScene SnapshotScene::make()
{
    SnapshotScene scene;
    scene.window = std::make_shared<ui::Window>();
    scene.window->setBackgroundColor(gfx::Color::fromWhite(0.93, 1));

    scene.card = std::make_shared<ui::View>(gfx::Rect(20, 60, 280, 200));
    scene.card->setBackgroundColor(gfx::Color::white());
    scene.card->layer()->setCornerRadius(12);
    scene.card->layer()->setBorderWidth(1);
    scene.card->layer()->setBorderColor(gfx::Color::lightGray());
    scene.card->layer()->setShadowOpacity(0.5f);
    scene.card->layer()->setShadowRadius(6);
    scene.card->layer()->setShadowOffset({ 0, 4 });
    scene.window->addSubview(scene.card);

    auto band = std::make_shared<GradientBand>(gfx::Rect(0, 0, 280, 60));
    auto clip = std::make_shared<ui::View>(gfx::Rect(0, 0, 280, 200));
    clip->setClipsToBounds(true);
    clip->layer()->setCornerRadius(12);
    clip->addSubview(band);
    scene.card->addSubview(clip);
    scene.card->addSubview(std::make_shared<TextBlock>(gfx::Rect(0, 70, 280, 80)));

    scene.rotated = badge({ 60, 320, 80, 50 }, gfx::Color::rgb(0.2, 0.7, 0.3));
    scene.rotated->setTransform(gfx::AffineTransform::makeRotation(std::numbers::pi / 8));
    scene.window->addSubview(scene.rotated);

    scene.scaled = badge({ 190, 320, 80, 50 }, gfx::Color::orange());
    scene.scaled->setTransform(gfx::AffineTransform::makeScale(1.4, 0.7));
    scene.window->addSubview(scene.scaled);

    scene.window->makeKeyAndVisible();
    return scene;
}

} // namespace test
