// Image operations and image views that load from URLs through the shared, bounded cache, against a loopback
// server: decoding at a scale, processing, cache hits, superseded and cancelled loads.
#include "LoopbackFixture.h"

#include "base/system/Facts.h"
#include "base/loop/MainThread.h"
#include "networking/images/ImageCache.h"
#include "networking/images/ImageRequestOperation.h"
#include "networking/images/ImageViewLoader.h"

#include <atomic>

using namespace networking;

namespace {

// A 40 x 30 pixel picture of one colour.
base::Data pngOf(uint32_t colour, int width = 40, int height = 30)
{
    std::vector<uint32_t> words(static_cast<size_t>(width * height), colour);
    gfx::PixelBuffer buffer { reinterpret_cast<uint8_t*>(words.data()), width, height, size_t(width) * 4 };
    return gfx::Image::fromPixels(buffer, 1)->pngData();
}

class ImageLoading : public test::LoopbackFixture {
protected:
    void SetUp() override
    {
        LoopbackFixture::SetUp();
        base::Facts::current().setScreenScale(2);
        ImageCache::sharedImageCache().removeAllImages();
        serveImage("/red.png", 0xffff0000);
        serveImage("/blue.png", 0xff0000ff);
        m_server.server().Get("/slow.png", [this](const httplib::Request&, httplib::Response& response) {
            m_gate.wait();
            auto png = pngOf(0xff00ff00);
            response.set_content(std::string(png.begin(), png.end()), "image/png");
        });
        m_server.server().Get("/garbage.png", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("not a picture", "image/png");
        });
        m_server.start();
        view = std::make_shared<ui::ImageView>();
        loader = std::make_shared<ImageViewLoader>(view);
    }
    void TearDown() override
    {
        ImageCache::sharedImageCache().removeAllImages();
        LoopbackFixture::TearDown();
    }

    void serveImage(const std::string& path, uint32_t colour)
    {
        auto png = pngOf(colour);
        m_server.server().Get(path, [png](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(png.begin(), png.end()), "image/png");
        });
    }

    base::URL url(const std::string& path) const { return *base::URL::parse(m_server.url(path)); }
    net::URLRequest request(const std::string& path) const { return net::URLRequest(url(path)); }
    size_t served(const std::string& path) const
    {
        auto all = m_server.received();
        return std::count_if(all.begin(), all.end(), [&](const auto& r) { return r.path == path; });
    }

    std::shared_ptr<ui::ImageView> view;
    std::shared_ptr<ImageViewLoader> loader;
    std::shared_ptr<gfx::Image> placeholder { gfx::Image::decode(pngOf(0xff808080, 4, 4)) };
};

TEST_F(ImageLoading, TheOperationTakesImagePathsAndTypesAndDecodesAtItsScale)
{
    const auto& images = ImageRequestOperation::operationClass();
    EXPECT_TRUE(images.canProcessRequest(request("/a.png")));
    EXPECT_FALSE(images.canProcessRequest(request("/a.PNG"))) << "extensions compare exactly";
    auto accepting = request("/a.PNG");
    accepting.setValue("image/png", "Accept");
    EXPECT_TRUE(images.canProcessRequest(accepting));

    std::shared_ptr<gfx::Image> received;
    bool called = false;
    auto operation = ImageRequestOperation::imageRequestOperationWithRequest(
        request("/red.png"), [&](const std::shared_ptr<gfx::Image>& image) {
            received = image;
            called = true;
        });
    EXPECT_EQ(operation->imageScale(), 2);
    operation->start();
    ASSERT_TRUE(waitFor([&] { return called; }));
    ASSERT_TRUE(received);
    EXPECT_EQ(received->size(), (gfx::Size { 20, 15 })) << "40 x 30 pixels at the screen's scale 2";
    operation->setImageScale(1);
    EXPECT_EQ(operation->responseImage()->size(), (gfx::Size { 40, 30 }));
}

TEST_F(ImageLoading, ABodyThatIsNoImageSucceedsWithNone)
{
    bool called = false;
    std::shared_ptr<gfx::Image> received = placeholder;
    auto operation = ImageRequestOperation::imageRequestOperationWithRequest(
        request("/garbage.png"), [&](const std::shared_ptr<gfx::Image>& image) {
            received = image;
            called = true;
        });
    operation->start();
    ASSERT_TRUE(waitFor([&] { return called; }));
    EXPECT_EQ(received, nullptr);
}

TEST_F(ImageLoading, AProcessingBlockRunsOffTheMainThreadAndItsResultArrivesOnIt)
{
    std::atomic<bool> processedOffMain { false };
    std::shared_ptr<gfx::Image> received;
    bool deliveredOnMain = false;
    auto operation = ImageRequestOperation::imageRequestOperationWithRequest(
        request("/red.png"),
        [&](const std::shared_ptr<gfx::Image>& image) {
            processedOffMain = !base::isMainThread();
            return image->subImage({ 0, 0, 10, 10 });
        },
        [&](const auto&, const auto& response, const std::shared_ptr<gfx::Image>& image) {
            deliveredOnMain = base::isMainThread() && response;
            received = image;
        },
        {});
    operation->start();
    ASSERT_TRUE(waitFor([&] { return received != nullptr; }));
    EXPECT_TRUE(processedOffMain);
    EXPECT_TRUE(deliveredOnMain);
    EXPECT_EQ(received->pixelWidth(), 10);
}

TEST_F(ImageLoading, AViewShowsThePlaceholderThenTheImageAndTheNextLoadHitsTheCache)
{
    loader->setImageWithURL(url("/red.png"), placeholder);
    EXPECT_EQ(view->image(), placeholder);
    ASSERT_TRUE(loader->imageRequestOperation());
    ASSERT_TRUE(waitFor([&] { return view->image() != placeholder; }));
    ASSERT_TRUE(view->image());
    EXPECT_EQ(view->image()->pixel(0, 0), 0xffff0000u);
    EXPECT_FALSE(loader->imageRequestOperation()) << "a finished download is forgotten";
    EXPECT_EQ(m_server.received().front().header("Accept"), "image/*");

    auto other = std::make_shared<ui::ImageView>();
    auto otherLoader = std::make_shared<ImageViewLoader>(other);
    otherLoader->setImageWithURL(url("/red.png"), placeholder);
    EXPECT_EQ(other->image(), view->image()) << "answered from the cache at once";
    EXPECT_FALSE(otherLoader->imageRequestOperation());
    EXPECT_EQ(served("/red.png"), 1u);
}

TEST_F(ImageLoading, ACacheHitWithASuccessBlockLeavesTheViewToTheCaller)
{
    loader->setImageWithURL(url("/red.png"));
    ASSERT_TRUE(waitFor([&] { return view->image() != nullptr; }));

    auto other = std::make_shared<ui::ImageView>();
    ImageViewLoader otherLoader(other);
    std::shared_ptr<gfx::Image> received;
    bool withoutRequestOrResponse = false;
    auto hit = request("/red.png");
    hit.addValue("image/*", "Accept");
    otherLoader.setImageWithURLRequest(hit, placeholder,
        [&](const net::URLRequest& request, const auto& response, const std::shared_ptr<gfx::Image>& image) {
            withoutRequestOrResponse = !request.url() && !response;
            received = image;
        },
        {});
    EXPECT_EQ(received, view->image());
    EXPECT_TRUE(withoutRequestOrResponse);
    EXPECT_EQ(other->image(), nullptr) << "neither the placeholder nor the image";
}

TEST_F(ImageLoading, RequestsThatIgnoreLocalDataAlwaysDownloadButStillFillTheCache)
{
    for (auto policy : { net::URLRequestCachePolicy::ReloadIgnoringLocalCacheData,
             net::URLRequestCachePolicy::ReloadIgnoringLocalAndRemoteCacheData }) {
        auto fresh = request("/blue.png");
        fresh.setCachePolicy(policy);
        bool done = false;
        loader->setImageWithURLRequest(fresh, nullptr, [&](const auto&, const auto&, const auto&) { done = true; }, {});
        ASSERT_TRUE(waitFor([&] { return done; }));
    }
    EXPECT_EQ(served("/blue.png"), 2u);
    EXPECT_TRUE(ImageCache::sharedImageCache().cachedImageForRequest(request("/blue.png")));
}

TEST_F(ImageLoading, ANewLoadCancelsTheFirstWhoseFailureStaysQuiet)
{
    int failures = 0;
    loader->setImageWithURLRequest(
        request("/slow.png"), placeholder, {}, [&](const auto&, const auto&, const base::Error&) { ++failures; });
    auto first = loader->imageRequestOperation();
    loader->setImageWithURL(url("/red.png"));
    EXPECT_TRUE(first->isCancelled());
    ASSERT_TRUE(waitFor([&] { return view->image() && view->image()->pixel(0, 0) == 0xffff0000u; }));
    // The cancelled operation is let go of once its outcome has been delivered on the main queue.
    ASSERT_TRUE(waitFor([&] { return first->isFinished() && first.use_count() == 1; }));
    EXPECT_EQ(failures, 0);
}

TEST_F(ImageLoading, TheSameRequestAgainLetsTheCancelledOneReportItsFailure)
{
    std::vector<long> failures;
    auto failure = [&](const auto&, const auto&, const base::Error& error) { failures.push_back(error.code()); };
    loader->setImageWithURLRequest(request("/slow.png"), nullptr, {}, failure);
    loader->setImageWithURLRequest(request("/slow.png"), nullptr, {}, failure);
    ASSERT_TRUE(waitFor([&] { return !failures.empty(); }));
    EXPECT_EQ(failures, (std::vector<long> { base::Error::URLCancelled }));
    m_gate.open();
    ASSERT_TRUE(waitFor([&] { return view->image() != nullptr; }));
}

TEST_F(ImageLoading, ALateImageOfASupersededRequestIsCachedButNotShown)
{
    loader->setImageWithURL(url("/slow.png"), placeholder);
    loader->setImageRequestOperation(nullptr);
    m_gate.open();
    ASSERT_TRUE(
        waitFor([&] { return ImageCache::sharedImageCache().cachedImageForRequest(request("/slow.png")) != nullptr; }));
    EXPECT_EQ(view->image(), placeholder);
}

TEST_F(ImageLoading, ALoaderThatHasGoneStillFillsTheCache)
{
    loader->setImageWithURL(url("/red.png"));
    loader.reset();
    ASSERT_TRUE(
        waitFor([&] { return ImageCache::sharedImageCache().cachedImageForRequest(request("/red.png")) != nullptr; }));
    EXPECT_EQ(view->image(), nullptr);
}

TEST(ImageLoadingCache, LeastRecentlyUsedImagesMakeRoomAndOversizedOnesAreNotKept)
{
    auto image = [](int width) {
        std::vector<uint32_t> words(static_cast<size_t>(width) * 10, 0xff000000);
        gfx::PixelBuffer buffer { reinterpret_cast<uint8_t*>(words.data()), width, 10, size_t(width) * 4 };
        return gfx::Image::fromPixels(buffer, 1);
    };
    auto at = [](const char* path) { return net::URLRequest(base::URL::parse(std::string("http://h/") + path)); };
    ImageCache cache(3 * 100 * 10 * 4);
    cache.cacheImage(image(100), at("a"));
    cache.cacheImage(image(100), at("b"));
    cache.cacheImage(image(100), at("c"));
    EXPECT_TRUE(cache.cachedImageForRequest(at("a")));
    cache.cacheImage(image(100), at("d"));
    EXPECT_FALSE(cache.cachedImageForRequest(at("b"))) << "the least recently used goes first";
    EXPECT_TRUE(cache.cachedImageForRequest(at("a")));
    EXPECT_EQ(cache.totalCost(), size_t(3 * 100 * 10 * 4));

    cache.cacheImage(image(400), at("huge"));
    EXPECT_FALSE(cache.cachedImageForRequest(at("huge")));
    EXPECT_EQ(cache.count(), 3u);
    cache.cacheImage(nullptr, at("a"));
    EXPECT_TRUE(cache.cachedImageForRequest(at("a"))) << "storing nothing changes nothing";
}

} // namespace
