#include "networking/images/ImageRequestOperation.h"

#include "base/system/Facts.h"
#include "networking/http/ConcurrentQueue.h"

namespace networking {

namespace {

    std::shared_ptr<base::DispatchQueue> processingQueue()
    {
        static auto queue = ConcurrentQueue::make("org.lumet.networking.image-request.processing");
        return queue;
    }

    std::shared_ptr<base::DispatchQueue> orMain(std::shared_ptr<base::DispatchQueue> queue)
    {
        return queue ? queue : base::DispatchQueue::main();
    }

} // namespace

ImageRequestOperation::ImageRequestOperation(net::URLRequest request)
    : HTTPRequestOperation(std::move(request))
    , m_imageScale(base::Facts::current().screenScale())
{
}

HTTPOperationClass& ImageRequestOperation::operationClass()
{
    static HTTPOperationClass descriptor({
        .name = "ImageRequestOperation",
        .superclass = &HTTPRequestOperation::operationClass(),
        .make = [](net::URLRequest request) { return std::make_shared<ImageRequestOperation>(std::move(request)); },
        .acceptableStatusCodes = std::nullopt,
        .acceptableContentTypes
        = std::optional<ContentTypeSet>(ContentTypeSet { "image/tiff", "image/jpeg", "image/gif", "image/png",
            "image/ico", "image/x-icon", "image/bmp", "image/x-bmp", "image/x-xbitmap", "image/x-win-bitmap" }),
        .pathExtensions = { "tif", "tiff", "jpg", "jpeg", "gif", "png", "ico", "bmp", "cur" },
    });
    return descriptor;
}

std::shared_ptr<ImageRequestOperation> ImageRequestOperation::imageRequestOperationWithRequest(
    net::URLRequest request, std::function<void(const std::shared_ptr<gfx::Image>&)> success)
{
    return imageRequestOperationWithRequest(std::move(request), {},
        [success = std::move(success)](const auto&, const auto&, const std::shared_ptr<gfx::Image>& image) {
            if (success)
                success(image);
        },
        {});
}

std::shared_ptr<ImageRequestOperation> ImageRequestOperation::imageRequestOperationWithRequest(
    net::URLRequest request, ImageProcessingBlock processing, Success success, Failure failure)
{
    auto operation = std::make_shared<ImageRequestOperation>(std::move(request));
    operation->setCompletionBlockWithSuccess(
        [processing = std::move(processing), success = std::move(success)](
            const std::shared_ptr<HTTPRequestOperation>& op, const ResponseObject& object) {
            auto* found = std::get_if<std::shared_ptr<gfx::Image>>(&object);
            std::shared_ptr<gfx::Image> image = found ? *found : nullptr;
            if (!processing) {
                if (success)
                    success(op->request(), op->response(), image);
                return;
            }
            processingQueue()->async([op, image, processing, success] {
                auto processed = processing(image);
                orMain(op->successCallbackQueue())->async([op, processed, success] {
                    if (success)
                        success(op->request(), op->response(), processed);
                });
            });
        },
        [failure = std::move(failure)](const std::shared_ptr<HTTPRequestOperation>& op, const base::Error& error) {
            if (failure)
                failure(op->request(), op->response(), error);
        });
    return operation;
}

std::shared_ptr<gfx::Image> ImageRequestOperation::responseImage()
{
    std::lock_guard guard(lock());
    if (m_responseImage || !isFinished())
        return m_responseImage;
    auto data = responseBody();
    if (data && !data->empty())
        m_responseImage = gfx::Image::decode(*data, m_imageScale);
    return m_responseImage;
}

double ImageRequestOperation::imageScale() const
{
    std::lock_guard guard(lock());
    return m_imageScale;
}

void ImageRequestOperation::setImageScale(double scale)
{
    std::lock_guard guard(lock());
    if (scale == m_imageScale)
        return;
    m_imageScale = scale;
    m_responseImage.reset();
}

std::shared_ptr<base::DispatchQueue> ImageRequestOperation::responseProcessingQueue() const
{
    return processingQueue();
}

ResponseObject ImageRequestOperation::responseObject() { return responseImage(); }

} // namespace networking
