#include "networking/images/ImageViewLoader.h"

#include "base/loop/MainThread.h"
#include "networking/images/ImageCache.h"

namespace networking {

ImageViewLoader::ImageViewLoader(std::weak_ptr<ui::ImageView> imageView)
    : m_imageView(std::move(imageView))
{
    BASE_ASSERT_MAIN_THREAD();
}

const std::shared_ptr<base::OperationQueue>& ImageViewLoader::sharedImageRequestOperationQueue()
{
    BASE_ASSERT_MAIN_THREAD();
    static auto queue = std::make_shared<base::OperationQueue>();
    return queue;
}

ImageCache& ImageViewLoader::sharedImageCache() { return ImageCache::sharedImageCache(); }

void ImageViewLoader::setImageWithURL(const base::URL& url, std::shared_ptr<gfx::Image> placeholder)
{
    net::URLRequest request(url);
    request.addValue("image/*", "Accept");
    setImageWithURLRequest(request, std::move(placeholder), {}, {});
}

bool ImageViewLoader::isCurrentRequest(const net::URLRequest& request) const
{
    return m_imageRequestOperation && m_imageRequestOperation->request() == request;
}

void ImageViewLoader::forgetIfCurrent(const HTTPRequestOperation& operation)
{
    if (m_imageRequestOperation.get() == &operation)
        m_imageRequestOperation.reset();
}

void ImageViewLoader::setImageWithURLRequest(
    const net::URLRequest& request, std::shared_ptr<gfx::Image> placeholder, Success success, Failure failure)
{
    cancelImageRequestOperation();
    auto view = imageView();
    if (auto cached = sharedImageCache().cachedImageForRequest(request)) {
        if (success)
            success({}, nullptr, cached);
        else if (view)
            view->setImage(cached);
        m_imageRequestOperation.reset();
        return;
    }
    if (view)
        view->setImage(std::move(placeholder));

    auto operation = std::make_shared<ImageRequestOperation>(request);
    operation->setCompletionBlockWithSuccess(
        [weak = weak_from_this(), request, success](
            const std::shared_ptr<HTTPRequestOperation>& op, const ResponseObject& object) {
            auto* found = std::get_if<std::shared_ptr<gfx::Image>>(&object);
            std::shared_ptr<gfx::Image> image = found ? *found : nullptr;
            if (auto self = weak.lock()) {
                if (self->isCurrentRequest(request)) {
                    if (success)
                        success(op->request(), op->response(), image);
                    else if (auto view = self->imageView(); view && image)
                        view->setImage(image);
                }
                self->forgetIfCurrent(*op);
            }
            sharedImageCache().cacheImage(image, request);
        },
        [weak = weak_from_this(), request, failure](
            const std::shared_ptr<HTTPRequestOperation>& op, const base::Error& error) {
            auto self = weak.lock();
            if (!self)
                return;
            if (self->isCurrentRequest(request) && failure)
                failure(op->request(), op->response(), error);
            self->forgetIfCurrent(*op);
        });
    m_imageRequestOperation = operation;
    sharedImageRequestOperationQueue()->addOperation(operation);
}

void ImageViewLoader::cancelImageRequestOperation()
{
    if (!m_imageRequestOperation)
        return;
    m_imageRequestOperation->cancel();
    m_imageRequestOperation.reset();
}

void ImageViewLoader::setDownloadProgressBlock(URLConnectionOperation::ProgressBlock block)
{
    if (m_imageRequestOperation)
        m_imageRequestOperation->setDownloadProgressBlock(std::move(block));
}

} // namespace networking
