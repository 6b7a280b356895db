#include "kit/progress/CircularProgressView.h"
#include "kit/progress/DiscProgressView.h"
#include "kit/progress/RoundProgressView.h"

#include "OverlayTestFixture.h"
#include "gfx/drawing/Context.h"
#include "gfx/drawing/CurrentContext.h"
#include "media/playback/AudioPlayer.h"
#include "support/TempDir.h"
#include "ui/render/DisplayLink.h"
#include "ui/layer/ShapeLayer.h"
#include "ui/input/TouchDriver.h"

#include <cmath>
#include <fstream>

namespace {

constexpr double pi = M_PI;

class ProgressRingTest : public test::WidgetTest {
protected:
    std::shared_ptr<kit::CircularProgressView> plainRing()
    {
        auto ring = std::make_shared<kit::CircularProgressView>(gfx::Rect { 0, 0, 200, 200 });
        ring->setBackColor(gfx::Color::fromWhite(236.0 / 255, 1));
        ring->setProgressColor(gfx::Color::rgb(0.52, 0.8, 0.05));
        ring->setLineWidth(10);
        window->addSubview(ring);
        return ring;
    }

    // A mono 16-bit WAVE file of `seconds` of a quiet square wave at 8 kHz.
    std::filesystem::path writeWave(double seconds)
    {
        size_t frames = static_cast<size_t>(seconds * 8000);
        std::vector<uint8_t> bytes;
        auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
        auto put = [&](uint32_t value, int count) {
            for (int i = 0; i < count; ++i)
                bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        };
        tag("RIFF");
        put(static_cast<uint32_t>(36 + frames * 2), 4);
        tag("WAVE");
        tag("fmt ");
        put(16, 4);
        put(1, 2);
        put(1, 2);
        put(8000, 4);
        put(16000, 4);
        put(2, 2);
        put(16, 2);
        tag("data");
        put(static_cast<uint32_t>(frames * 2), 4);
        for (size_t i = 0; i < frames; ++i)
            put((i / 20) % 2 ? 1000 : static_cast<uint16_t>(-1000), 2);
        auto path = dir.path() / "voice.wav";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path;
    }

    std::shared_ptr<kit::CircularProgressView> audioRing(double seconds)
    {
        auto ring = kit::CircularProgressView::makeWithAudio(
            { 60, 100, 200, 200 }, gfx::Color::gray(), gfx::Color::green(), 10, base::URL::fileURL(writeWave(seconds)));
        window->addSubview(ring);
        return ring;
    }

    test::TempDir dir;
};

class RecordingRingDelegate : public kit::CircularProgressViewDelegate {
public:
    void updateProgressViewWithPlayer(media::AudioPlayer*) override { ++progressUpdates; }
    void updatePlayOrPauseButton() override { ++buttonUpdates; }
    void playerDidFinishPlaying() override { ++finishes; }
    int progressUpdates { 0 };
    int buttonUpdates { 0 };
    int finishes { 0 };
};

std::shared_ptr<ui::ShapeLayer> ringAt(const kit::CircularProgressView& view, size_t index)
{
    return std::dynamic_pointer_cast<ui::ShapeLayer>(view.layer()->sublayers().at(index));
}

void expectNear(gfx::Point actual, gfx::Point expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-6);
    EXPECT_NEAR(actual.y, expected.y, 1e-6);
}

TEST_F(ProgressRingTest, RingsAreCentredWithRadiusInsideTheLineWidth)
{
    auto ring = plainRing();
    ASSERT_EQ(ring->layer()->sublayers().size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        auto layer = ringAt(*ring, i);
        ASSERT_TRUE(layer);
        EXPECT_EQ(layer->frame(), (gfx::Rect { 5, 5, 190, 190 }));
        EXPECT_EQ(layer->lineWidth(), 10);
        EXPECT_EQ(layer->lineCap(), gfx::LineCap::Butt);
        EXPECT_EQ(layer->contentsScale(), 2);
        gfx::Rect box = layer->path()->boundingBox();
        EXPECT_NEAR(box.midX(), 95, 1e-6);
        EXPECT_NEAR(box.midY(), 95, 1e-6);
        expectNear(layer->path()->elements().front().points[0], { 95, 0 });
    }
    EXPECT_EQ(ringAt(*ring, 0)->strokeColor(), gfx::Color::fromWhite(236.0 / 255, 1));
    EXPECT_EQ(ringAt(*ring, 1), ring->progressLayer());
    EXPECT_EQ(ring->progressLayer()->strokeEnd(), 0);
}

TEST_F(ProgressRingTest, QuarterProgressStrokesFromTwelveToThree)
{
    auto ring = plainRing();
    ring->setProgress(0.25f);
    EXPECT_FALSE(ring->progressLayer()->isHidden());
    EXPECT_FLOAT_EQ(ring->progressLayer()->strokeEnd(), 0.25);
    auto arc = ring->progressLayer()->path()->leadingPart(0.25);
    expectNear(arc.elements().front().points[0], { 95, 0 });
    auto end = arc.currentPoint();
    ASSERT_TRUE(end);
    EXPECT_NEAR(end->x, 190, 1e-3);
    EXPECT_NEAR(end->y, 95, 1e-3);
    EXPECT_FLOAT_EQ(ring->progress(), 0.25f);
}

TEST_F(ProgressRingTest, ZeroHidesAtOnceAndEmptiesTheArcATenthLater)
{
    auto ring = plainRing();
    ring->setProgress(0.6f);
    ring->setProgress(0);
    EXPECT_TRUE(ring->progressLayer()->isHidden());
    EXPECT_FLOAT_EQ(ring->progressLayer()->strokeEnd(), 0.6);
    advance(0.09);
    EXPECT_FLOAT_EQ(ring->progressLayer()->strokeEnd(), 0.6);
    advance(0.01);
    EXPECT_EQ(ring->progressLayer()->strokeEnd(), 0);
    EXPECT_TRUE(ring->progressLayer()->isHidden());
}

TEST_F(ProgressRingTest, NewProgressWithinTheTenthIsNotEmptiedByTheDelayedReset)
{
    auto ring = plainRing();
    ring->setProgress(0.6f);
    ring->setProgress(0);
    advance(0.05);
    ring->setProgress(0.4f);
    advance(0.2);
    EXPECT_FALSE(ring->progressLayer()->isHidden());
    EXPECT_FLOAT_EQ(ring->progressLayer()->strokeEnd(), 0.4);
}

TEST_F(ProgressRingTest, AnglesRunClockwiseFromTwelve)
{
    auto ring = plainRing();
    EXPECT_NEAR(ring->angleFromStartToPoint({ 100, 200 }), pi, 1e-9);
    EXPECT_NEAR(ring->angleFromStartToPoint({ 0, 100 }), 3 * pi / 2, 1e-9);
    EXPECT_NEAR(ring->angleFromStartToPoint({ 200, 100 }), pi / 2, 1e-9);
    EXPECT_NEAR(ring->angleFromStartToPoint({ 100, 0 }), 0, 1e-9);
    EXPECT_NEAR(ring->angleFromStartToPoint({ 50, 50 }), 7 * pi / 4, 1e-9);
}

TEST_F(ProgressRingTest, DegenerateLinesGiveAnAngleInsteadOfNaN)
{
    auto ring = plainRing();
    EXPECT_EQ(ring->angleFromStartToPoint({ 100, 100 }), 0);
    // Nearly parallel long lines whose cosine rounds past 1.
    double angle = kit::CircularProgressView::angleBetweenLines({ 0, 0 }, { 1e8, 1 }, { 0, 0 }, { 3e8, 3 });
    EXPECT_FALSE(std::isnan(angle));
    EXPECT_NEAR(angle, 0, 1e-7);
    EXPECT_NEAR(kit::CircularProgressView::angleBetweenLines({ 0, 0 }, { 1, 0 }, { 0, 0 }, { -2, 0 }), pi, 1e-12);
}

TEST_F(ProgressRingTest, AudioRingFollowsPlaybackTenTimesASecondAndResetsAtTheEnd)
{
    auto ring = audioRing(2.0);
    auto delegate = std::make_shared<RecordingRingDelegate>();
    ring->setDelegate(delegate);
    ASSERT_TRUE(ring->player());
    EXPECT_EQ(ring->duration(), 0);

    ring->play();
    ASSERT_TRUE(ring->displayLink());
    EXPECT_EQ(ring->displayLink()->frameInterval(), 6);
    advance(1.0);
    EXPECT_NEAR(ring->progress(), 0.5, 0.06);
    EXPECT_GE(delegate->progressUpdates, 9);
    EXPECT_LE(delegate->progressUpdates, 11);

    ring->pause();
    EXPECT_TRUE(ring->displayLink()->isPaused());
    float paused = ring->progress();
    advance(0.5);
    EXPECT_EQ(ring->progress(), paused);

    ring->play();
    advance(1.5);
    EXPECT_EQ(delegate->finishes, 1);
    EXPECT_EQ(ring->progress(), 0);
    EXPECT_FALSE(ring->displayLink());
}

TEST_F(ProgressRingTest, TapSeeksByThePlayersDurationAndStartsPlayback)
{
    auto ring = audioRing(4.0);
    auto delegate = std::make_shared<RecordingRingDelegate>();
    ring->setDelegate(delegate);
    ui::TouchDriver finger;
    // Three o'clock on the ring, in screen points.
    finger.tap({ 60 + 195, 100 + 100 });
    EXPECT_NEAR(ring->angle(), pi / 2, 0.02);
    EXPECT_TRUE(ring->player()->isPlaying());
    EXPECT_NEAR(ring->player()->currentTime(), 1.0, 0.06);
    EXPECT_EQ(delegate->buttonUpdates, 1);
}

TEST_F(ProgressRingTest, DragScrubsTheArcThenSeeksWhereItEnds)
{
    auto ring = audioRing(4.0);
    ui::TouchDriver finger;
    // From three o'clock down to six o'clock along the right side.
    finger.down({ 60 + 195, 200 })
        .moveTo({ 60 + 180, 250 }, base::Duration(0.1), 2)
        .moveTo({ 160, 295 }, base::Duration(0.1), 2);
    EXPECT_NEAR(ring->progress(), 0.5, 0.01);
    EXPECT_FALSE(ring->player()->isPlaying());
    finger.up();
    EXPECT_TRUE(ring->player()->isPlaying());
    EXPECT_NEAR(ring->player()->currentTime(), 2.0, 0.05);
}

TEST_F(ProgressRingTest, RingWithoutAudioKeepsItsProgressWhilePlaying)
{
    auto ring = kit::CircularProgressView::makeWithAudio(
        { 0, 0, 100, 100 }, gfx::Color::gray(), gfx::Color::green(), 4, base::URL::fileURL(dir.path() / "none.wav"));
    window->addSubview(ring);
    EXPECT_FALSE(ring->player());
    ring->setProgress(0.3f);
    ring->play();
    advance(0.5);
    EXPECT_FLOAT_EQ(ring->progress(), 0.3f);
    ring->stop();
    EXPECT_EQ(ring->progress(), 0);
    EXPECT_FALSE(ring->displayLink());
}

// Draws `view` into a bitmap of its size at scale 1 and returns the pixel at `p`.
uint32_t pixelOf(ui::View& view, gfx::Point p)
{
    auto context = gfx::Context::makeBitmap(view.bounds().size, 1);
    gfx::CurrentContext::push(context);
    view.drawRect(view.bounds());
    gfx::CurrentContext::pop();
    return context->makeImage()->pixel(static_cast<int>(p.x), static_cast<int>(p.y));
}

uint8_t alphaOf(uint32_t pixel) { return static_cast<uint8_t>(pixel >> 24); }

TEST_F(ProgressRingTest, DiscDrawsTheWholeTrackAndCutsOutTheMiddle)
{
    auto disc = std::make_shared<kit::DiscProgressView>(gfx::Rect { 0, 0, 100, 100 });
    disc->setProgress(0.25f);
    // The track shows in every quarter of the ring, at 0.3 alpha where no progress covers it.
    EXPECT_NEAR(alphaOf(pixelOf(*disc, { 8, 50 })), 77, 2);
    EXPECT_NEAR(alphaOf(pixelOf(*disc, { 50, 92 })), 77, 2);
    // The first quarter is the progress colour.
    EXPECT_EQ(pixelOf(*disc, { 80, 25 }), 0xFFFFFFFFu);
    EXPECT_EQ(alphaOf(pixelOf(*disc, { 50, 50 })), 0);
}

TEST_F(ProgressRingTest, PieFillsTheQuarterFromTwelveToThree)
{
    auto pie = std::make_shared<kit::RoundProgressView>();
    EXPECT_EQ(pie->frame(), (gfx::Rect { 0, 0, 37, 37 }));
    pie->setProgress(0.25f);
    EXPECT_EQ(pixelOf(*pie, { 25, 12 }), 0xFFFFFFFFu);
    EXPECT_LT(alphaOf(pixelOf(*pie, { 12, 12 })), 40);
    EXPECT_LT(alphaOf(pixelOf(*pie, { 25, 25 })), 40);
}

} // namespace
