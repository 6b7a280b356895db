// The media focus viewer in a key window on the manual clock: showing from a source view, fit frame and zoom
// limits, taps, drags and throws on the dynamics, the status bar, downloads from a loopback server, and a
// picture of the viewer over its blurred background.
#include "../networking/LoopbackServer.h"
#include "OverlayTestFixture.h"
#include "SnapshotProbes.h"

#include "host/HeadlessHost.h"
#include "kit/media/MediaFocusViewController.h"
#include "net/loading/MainLoopTransfers.h"
#include "ui/controls/ActivityIndicatorView.h"
#include "ui/dynamics/DynamicAnimator.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/Label.h"
#include "ui/input/PanGestureRecognizer.h"
#include "ui/scroll/ScrollView.h"
#include "ui/input/TouchDriver.h"

#include <filesystem>
#include <vector>

namespace {

class ViewerJournal : public kit::MediaFocusViewControllerDelegate {
public:
    void mediaFocusViewControllerDidAppear(kit::MediaFocusViewController&) override { events.push_back("appear"); }
    void mediaFocusViewControllerDidDisappear(kit::MediaFocusViewController&) override
    {
        events.push_back("disappear");
    }
    void mediaFocusViewControllerDidFinishLoadingImage(
        kit::MediaFocusViewController&, const std::shared_ptr<gfx::Image>& image) override
    {
        events.push_back("loaded");
        loaded = image;
    }
    void mediaFocusViewControllerDidFailLoadingImageWithError(
        kit::MediaFocusViewController&, const base::Error& failure) override
    {
        events.push_back("failed");
        error = failure;
    }
    std::vector<std::string> events;
    std::shared_ptr<gfx::Image> loaded;
    std::optional<base::Error> error;
};

// A striped picture of `width` x `height` points at scale 1.
std::shared_ptr<gfx::Image> picture(int width, int height)
{
    std::vector<uint32_t> words;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            words.push_back((x / 40 + y / 40) % 2 ? 0xff3060c0 : 0xffe0a020);
    gfx::PixelBuffer buffer { reinterpret_cast<uint8_t*>(words.data()), width, height, size_t(width) * 4 };
    return gfx::Image::fromPixels(buffer, 1);
}

class MediaViewer : public test::WidgetTest {
protected:
    void SetUp() override
    {
        test::WidgetTest::SetUp();
        ui::Application::shared().setStatusBarHidden(false);
        window->setBackgroundColor(gfx::Color::fromWhite(0.95, 1));
        cell = std::make_shared<ui::View>(gfx::Rect { 0, 100, 320, 80 });
        cell->setBackgroundColor(gfx::Color::white());
        window->addSubview(cell);
        source = std::make_shared<ui::View>(gfx::Rect { 200, 10, 60, 60 });
        source->setBackgroundColor(gfx::Color::rgb(0.3, 0.4, 0.8));
        cell->addSubview(source);
        viewer = std::make_shared<kit::MediaFocusViewController>();
        journal = std::make_shared<ViewerJournal>();
        viewer->setDelegate(journal);
        turn();
    }
    void TearDown() override
    {
        advance(5);
        viewer.reset();
        test::WidgetTest::TearDown();
    }

    void showLarge()
    {
        viewer->showImage(picture(640, 480), source);
        advance(0.2);
    }

    bool shown() const { return viewer->view()->superview() != nullptr; }

    // A drag of the image from the middle of the screen, released at `speed` points per second downwards.
    void flick(double speed)
    {
        gfx::Point start { 160, 284 };
        finger.down(start).moveTo({ 160, 299 }, base::Duration(0.05), 1);
        finger.moveTo({ 160, 299 + speed * 0.1 }, base::Duration(0.1), 10).up();
    }

    std::shared_ptr<ui::View> cell;
    std::shared_ptr<ui::View> source;
    std::shared_ptr<kit::MediaFocusViewController> viewer;
    std::shared_ptr<ViewerJournal> journal;
    ui::TouchDriver finger;
};

TEST_F(MediaViewer, StartsWithBlurAndParallaxOnAndTapDismissalOff)
{
    EXPECT_TRUE(viewer->shouldBlurBackground());
    EXPECT_TRUE(viewer->parallaxEnabled());
    EXPECT_FALSE(viewer->shouldDismissOnTap());
}

TEST_F(MediaViewer, ImageGrowsFromTheSourceViewIntoTheFrameThatFitsTheScreen)
{
    viewer->showImage(picture(640, 480), source);
    ui::LayerProperties drawn = viewer->imageView()->layer()->presentation();
    EXPECT_EQ(drawn.position, (gfx::Point { 230, 140 })) << "grows from the button's place in the window";
    EXPECT_EQ(drawn.bounds.size, (gfx::Size { 60, 60 }));
    EXPECT_EQ(viewer->fitFrame(), (gfx::Rect { 0, 284 - 120, 320, 240 }));
    EXPECT_EQ(viewer->scrollView()->minimumZoomScale(), 1);
    EXPECT_EQ(viewer->scrollView()->maximumZoomScale(), 2);
    EXPECT_TRUE(ui::Application::shared().isStatusBarHidden());
    EXPECT_EQ(window->tintAdjustmentMode(), ui::TintAdjustmentMode::Dimmed);

    advance(0.17);
    EXPECT_TRUE(journal->events.empty());
    advance(0.02);
    EXPECT_EQ(journal->events, (std::vector<std::string> { "appear" }));
    EXPECT_EQ(viewer->imageView()->frame(), viewer->fitFrame());
    EXPECT_EQ(viewer->backgroundView()->alpha(), 1);
}

TEST_F(MediaViewer, TheWindowPictureRecedesBehindTheViewerBlurred)
{
    showLarge();
    auto snapshot = viewer->snapshotView();
    auto blurred = viewer->blurredSnapshotView();
    ASSERT_TRUE(snapshot && blurred);
    const auto& subviews = window->subviews();
    auto index = [&](const ui::View* v) {
        return std::find_if(subviews.begin(), subviews.end(), [v](auto& s) { return s.get() == v; }) - subviews.begin();
    };
    EXPECT_EQ(index(snapshot.get()) + 1, index(blurred.get()));
    EXPECT_EQ(index(blurred.get()) + 1, index(viewer->view().get()));
    EXPECT_EQ(snapshot->transform().a, 0.9);
    EXPECT_EQ(blurred->alpha(), 1);
    EXPECT_EQ(snapshot->bounds().size, (gfx::Size { 356, 632 })) << "the window grown by 1 / 0.9, made integral";
    EXPECT_EQ(snapshot->center(), window->center());
}

TEST_F(MediaViewer, AnImageSmallerThanTheScreenZoomsOutToItsOwnSize)
{
    viewer->showImage(picture(100, 50), source);
    EXPECT_EQ(viewer->fitFrame().size, (gfx::Size { 320, 160 }));
    EXPECT_DOUBLE_EQ(viewer->scrollView()->minimumZoomScale(), 1 / 3.2);
    EXPECT_EQ(viewer->scrollView()->maximumZoomScale(), 1);
}

TEST_F(MediaViewer, ATapOnTheImageDoesNothingAndATapBesideItDismissesBackIntoTheSource)
{
    showLarge();
    finger.tap({ 160, 284 });
    advance(1);
    EXPECT_TRUE(shown());

    finger.tap({ 160, 520 });
    advance(0.5);
    EXPECT_FALSE(shown());
    EXPECT_EQ(journal->events, (std::vector<std::string> { "appear", "disappear" }));
    EXPECT_EQ(viewer->imageView()->frame(), (gfx::Rect { 200, 110, 60, 60 }));
    EXPECT_FALSE(ui::Application::shared().isStatusBarHidden());
    EXPECT_EQ(window->tintAdjustmentMode(), ui::TintAdjustmentMode::Normal);
    EXPECT_FALSE(viewer->snapshotView());
}

TEST_F(MediaViewer, WithTapDismissalATapOnTheImageDismissesToo)
{
    viewer->setShouldDismissOnTap(true);
    showLarge();
    finger.tap({ 160, 284 });
    advance(1);
    EXPECT_FALSE(shown());
}

TEST_F(MediaViewer, DoubleTapZoomsInAndOutAndNeverDismisses)
{
    viewer->setShouldDismissOnTap(true);
    showLarge();
    finger.tap({ 160, 284 }).wait(base::Duration(0.1)).tap({ 160, 284 });
    advance(1);
    EXPECT_TRUE(shown());
    EXPECT_EQ(viewer->scrollView()->zoomScale(), 2);
    EXPECT_TRUE(viewer->scrollView()->isScrollEnabled());
    EXPECT_FALSE(viewer->panRecognizer()->view()) << "the image cannot be dragged while zoomed in";

    finger.tap({ 160, 284 }).wait(base::Duration(0.1)).tap({ 160, 284 });
    advance(1);
    EXPECT_EQ(viewer->scrollView()->zoomScale(), 1);
    EXPECT_EQ(viewer->panRecognizer()->view(), viewer->imageView());
    EXPECT_FALSE(viewer->scrollView()->isScrollEnabled());
}

TEST_F(MediaViewer, ASlowReleaseReturnsTheImageToItsFitFrame)
{
    showLarge();
    flick(400);
    EXPECT_EQ(viewer->imageView()->frame(), viewer->fitFrame());
    EXPECT_TRUE(viewer->animator()->behaviors().empty());
    advance(2);
    EXPECT_TRUE(shown());
}

TEST_F(MediaViewer, AFastReleaseThrowsTheImageAwayAndDismissesAfterTheThrowDelay)
{
    showLarge();
    flick(600);
    EXPECT_NE(viewer->imageView()->frame(), viewer->fitFrame());
    advance(0.5 - 600.0 / 10000 - 0.01);
    EXPECT_EQ(viewer->backgroundView()->alpha(), 1);
    advance(0.02);
    EXPECT_EQ(viewer->backgroundView()->alpha(), 0) << "the veil fades as the dismissal starts";
    EXPECT_GT(viewer->imageView()->center().y, 284 + 60) << "the image keeps flying";
    advance(0.2);
    EXPECT_FALSE(shown());
    EXPECT_EQ(journal->events.back(), "disappear");
}

TEST_F(MediaViewer, AThrowAtFiveThousandPointsPerSecondDismissesOnTheNextTurn)
{
    showLarge();
    flick(5000);
    turn();
    EXPECT_EQ(viewer->backgroundView()->alpha(), 0);
}

TEST_F(MediaViewer, AStatusBarHiddenBeforeStaysHidden)
{
    ui::Application::shared().setStatusBarHidden(true);
    showLarge();
    viewer->dismiss(true);
    advance(0.5);
    EXPECT_TRUE(ui::Application::shared().isStatusBarHidden());
}

TEST_F(MediaViewer, WithoutParallaxThereIsNoWindowPictureAndTheStatusBarIsLeftAlone)
{
    viewer->setParallaxEnabled(false);
    showLarge();
    EXPECT_FALSE(viewer->snapshotView());
    EXPECT_FALSE(viewer->blurredSnapshotView());
    EXPECT_FALSE(ui::Application::shared().isStatusBarHidden());
    viewer->dismiss(false);
    EXPECT_FALSE(shown());
    EXPECT_EQ(journal->events.back(), "disappear");
}

TEST_F(MediaViewer, AHostControllerHoldsTheViewerAsAChildWhileItShows)
{
    auto host = std::make_shared<ui::ViewController>();
    window->addSubview(host->view());
    viewer->showImage(picture(640, 480), source, host);
    EXPECT_EQ(viewer->parentViewController(), host);
    EXPECT_EQ(viewer->view()->superview(), host->view());
    EXPECT_EQ(host->view()->tintAdjustmentMode(), ui::TintAdjustmentMode::Dimmed);
    viewer->dismiss(true);
    advance(0.5);
    EXPECT_FALSE(viewer->parentViewController());
    EXPECT_FALSE(shown());
    EXPECT_EQ(host->view()->tintAdjustmentMode(), ui::TintAdjustmentMode::Normal);
}

TEST_F(MediaViewer, ADelegateThatHasGoneIsNotCalled)
{
    journal.reset();
    showLarge();
    viewer->dismiss(true);
    advance(0.5);
    EXPECT_FALSE(shown());
}

class MediaViewerDownload : public MediaViewer {
protected:
    void SetUp() override
    {
        MediaViewer::SetUp();
        auto png = picture(64, 48)->pngData();
        server.server().Get("/photo.png", [png](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(png.begin(), png.end()), "image/png");
        });
        server.server().Get("/page", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<html></html>", "text/html");
        });
        server.start();
    }
    void TearDown() override
    {
        net::MainLoopTransfers::shared().stop();
        server.stop();
        MediaViewer::TearDown();
    }

    bool waitForDelegate()
    {
        return base::RunLoop::main().runUntil([this] { return !journal->events.empty(); }, std::chrono::seconds(20));
    }

    test::LoopbackServer server;
};

TEST_F(MediaViewerDownload, ShowsTheDownloadedImageWithASpinnerOnTheSourceMeanwhile)
{
    viewer->showImageFromURL(*base::URL::parse(server.url("/photo.png")), source);
    ASSERT_TRUE(viewer->loadingView());
    EXPECT_EQ(viewer->loadingView()->superview(), source);
    EXPECT_TRUE(viewer->loadingView()->isAnimating());
    EXPECT_EQ(viewer->loadingView()->center(), (gfx::Point { 30, 30 }));

    ASSERT_TRUE(waitForDelegate());
    EXPECT_EQ(journal->events, (std::vector<std::string> { "loaded" }));
    EXPECT_EQ(journal->loaded->size(), (gfx::Size { 64, 48 }));
    EXPECT_FALSE(viewer->loadingView()->superview());
    EXPECT_TRUE(shown());
}

TEST_F(MediaViewerDownload, BytesThatAreNotAnImageFailWithoutShowingAnything)
{
    viewer->showImageFromURL(*base::URL::parse(server.url("/page")), source);
    ASSERT_TRUE(waitForDelegate());
    EXPECT_EQ(journal->events, (std::vector<std::string> { "failed" }));
    ASSERT_TRUE(journal->error);
    EXPECT_EQ(journal->error->domain(), kit::MediaFocusViewController::ErrorDomain);
    EXPECT_FALSE(viewer->loadingView()->superview()) << "the spinner goes on failure too";
    EXPECT_FALSE(shown());
}

TEST_F(MediaViewerDownload, AFailedConnectionRemovesTheSpinnerAndReports)
{
    int port = server.port();
    server.stop();
    viewer->showImageFromURL(*base::URL::parse("http://127.0.0.1:" + std::to_string(port) + "/photo.png"), source);
    ASSERT_TRUE(waitForDelegate());
    EXPECT_EQ(journal->events, (std::vector<std::string> { "failed" }));
    EXPECT_FALSE(viewer->loadingView()->superview());
}

TEST_F(MediaViewer, SnapshotOverTheBlurredWindow)
{
    gfx::TextMeasurer::Override realText { nullptr };
    for (int i = 0; i < 6; ++i) {
        auto label = std::make_shared<ui::Label>(gfx::Rect { 20, 200.0 + i * 50, 280, 40 });
        label->setText("Message " + std::to_string(i + 1) + ": on my way home");
        window->addSubview(label);
    }
    turn();
    showLarge();
    host::HeadlessHost host { LUMET_SNAPSHOT_DIR };
    auto path = host.writeFrame("kit-media-viewer");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::exists(*path));
    // The picture fills the screen's width in the middle, stripes and all; above and below it the dimmed
    // background is darker than the window was.
    const gfx::Color orange = gfx::Color::fromPremultipliedARGB(0xffe0a020);
    const gfx::Color blue = gfx::Color::fromPremultipliedARGB(0xff3060c0);
    EXPECT_TRUE(test::shows(*window, { 5, 284 - 120 + 5 }, orange, 8.0 / 255));
    EXPECT_TRUE(test::shows(*window, { 5 + 20, 284 - 120 + 5 }, blue, 8.0 / 255));
    EXPECT_LT(test::lightnessAt(*window, { 5, 60 }), 0.95 * 3 - 0.3);
}

} // namespace
