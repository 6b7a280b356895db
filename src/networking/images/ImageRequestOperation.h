// networking::ImageRequestOperation: an HTTP request operation for images (TIFF, JPEG, GIF, PNG, icon, BMP
// and cursor types, or paths with those extensions, compared exactly). Once finished, the body is decoded on
// a processing queue at the operation's image scale (the screen's at creation) and the image handed to the
// success block; a body that is no image gives none. Any thread; the blocks run on the callback queues (the
// main queue unless set).
//
//   auto operation = networking::ImageRequestOperation::imageRequestOperationWithRequest(request,
//       [view](const std::shared_ptr<gfx::Image>& image) { view->setImage(image); });
//   queue->addOperation(operation);
#pragma once

#include "gfx/images/Image.h"
#include "networking/http/HTTPRequestOperation.h"

namespace networking {

class ImageRequestOperation : public HTTPRequestOperation {
public:
    using Success = std::function<void(
        const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&, const std::shared_ptr<gfx::Image>&)>;
    using Failure = std::function<void(
        const net::URLRequest&, const std::shared_ptr<const net::HTTPResponse>&, const base::Error&)>;
    using ImageProcessingBlock = std::function<std::shared_ptr<gfx::Image>(const std::shared_ptr<gfx::Image>&)>;

    explicit ImageRequestOperation(net::URLRequest request);

    static HTTPOperationClass& operationClass();
    const HTTPOperationClass& httpClass() const override { return operationClass(); }

    // Hands only the image (none for a body that is no image) to `success`; failures are not reported.
    static std::shared_ptr<ImageRequestOperation> imageRequestOperationWithRequest(
        net::URLRequest request, std::function<void(const std::shared_ptr<gfx::Image>&)> success);
    // With a processing block, the image is processed on the processing queue and the result delivered on
    // the success callback queue.
    static std::shared_ptr<ImageRequestOperation> imageRequestOperationWithRequest(
        net::URLRequest request, ImageProcessingBlock processing, Success success, Failure failure);

    // The body decoded at the image scale, once the operation has finished with a body; nothing before, or
    // for a body that is no image.
    std::shared_ptr<gfx::Image> responseImage();
    double imageScale() const;
    // A new scale discards the image made so far, so that the next responseImage decodes it again.
    void setImageScale(double scale);

protected:
    std::shared_ptr<base::DispatchQueue> responseProcessingQueue() const override;
    ResponseObject responseObject() override;

private:
    std::shared_ptr<gfx::Image> m_responseImage;
    double m_imageScale;
};

} // namespace networking
