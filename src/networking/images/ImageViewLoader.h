// networking::ImageViewLoader: loads an image view's image from a URL. It shows a placeholder, answers from the
// shared image cache when it can, else downloads the image with an ImageRequestOperation on a shared queue and
// sets it when it arrives, unless the view has asked for another image meanwhile. The loader holds its
// current operation (a new load cancels it) and keeps the image view weakly; every downloaded image goes into
// the shared cache, even one that arrives too late to be shown. The owner keeps the loader beside its view.
// Main thread.
//
//   m_photoLoader = std::make_shared<networking::ImageViewLoader>(m_photoView);
//   m_photoLoader->setImageWithURL(*base::URL::parse(photoURL), gfx::Image::named("placeholder"));
#pragma once

#include "base/loop/OperationQueue.h"
#include "gfx/images/Image.h"
#include "networking/images/ImageRequestOperation.h"
#include "ui/controls/ImageView.h"

#include <functional>
#include <memory>

namespace networking {

class ImageCache;

class ImageViewLoader : public std::enable_shared_from_this<ImageViewLoader> {
public:
    using Success = ImageRequestOperation::Success;
    using Failure = ImageRequestOperation::Failure;

    explicit ImageViewLoader(std::weak_ptr<ui::ImageView> imageView);
    ImageViewLoader(const ImageViewLoader&) = delete;
    ImageViewLoader& operator=(const ImageViewLoader&) = delete;

    // The queue every loader's downloads run on.
    static const std::shared_ptr<base::OperationQueue>& sharedImageRequestOperationQueue();
    static ImageCache& sharedImageCache();

    std::shared_ptr<ui::ImageView> imageView() const { return m_imageView.lock(); }

    // Asks for "image/*" and sets the image when it comes.
    void setImageWithURL(const base::URL& url, std::shared_ptr<gfx::Image> placeholder = nullptr);
    // A cache hit calls `success` with no request and no response, or without `success` sets the image; a
    // download calls `success` (or sets the image) and `failure` only while the request is still the view's
    // current one.
    void setImageWithURLRequest(
        const net::URLRequest& request, std::shared_ptr<gfx::Image> placeholder, Success success, Failure failure);
    // Cancels the current download and forgets it.
    void cancelImageRequestOperation();
    // Hands the block to the current download; nothing without one.
    void setDownloadProgressBlock(URLConnectionOperation::ProgressBlock block);

    const std::shared_ptr<ImageRequestOperation>& imageRequestOperation() const { return m_imageRequestOperation; }
    void setImageRequestOperation(std::shared_ptr<ImageRequestOperation> operation)
    {
        m_imageRequestOperation = std::move(operation);
    }

private:
    bool isCurrentRequest(const net::URLRequest& request) const;
    void forgetIfCurrent(const HTTPRequestOperation& operation);

    std::weak_ptr<ui::ImageView> m_imageView;
    std::shared_ptr<ImageRequestOperation> m_imageRequestOperation;
};

} // namespace networking
