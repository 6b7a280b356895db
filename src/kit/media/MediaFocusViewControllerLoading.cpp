// The media focus viewer's download: the bytes are collected on the network thread and handed, with the
// outcome, to the viewer on the main run loop, where the image is made and shown.
#include "kit/media/MediaFocusViewController.h"

#include "base/loop/RunLoop.h"
#include "ui/controls/ActivityIndicatorView.h"

#include <mutex>

namespace kit {

class MediaFocusViewController::Download : public net::URLConnectionDelegate {
public:
    explicit Download(std::weak_ptr<MediaFocusViewController> viewer)
        : m_viewer(std::move(viewer))
    {
    }

    void didReceiveData(net::URLConnection&, const uint8_t* bytes, size_t length) override
    {
        std::lock_guard lock(m_mutex);
        m_data.insert(m_data.end(), bytes, bytes + length);
    }
    void didFinishLoading(net::URLConnection& connection) override
    {
        base::Data data;
        {
            std::lock_guard lock(m_mutex);
            data.swap(m_data);
        }
        report(connection, std::move(data), std::nullopt);
    }
    void didFailWithError(net::URLConnection& connection, const base::Error& error) override
    {
        report(connection, std::nullopt, error);
    }

private:
    // Only the viewer's current connection is heard: a cancelled or replaced one reports nothing.
    void report(net::URLConnection& connection, std::optional<base::Data> data, std::optional<base::Error> error)
    {
        base::RunLoop::main().post([viewer = m_viewer, connection = connection.shared_from_this(),
                                       data = std::move(data), error = std::move(error)]() mutable {
            auto self = viewer.lock();
            if (!self || self->m_urlConnection != connection)
                return;
            self->m_urlConnection.reset();
            self->downloadFinished(std::move(data), std::move(error));
        });
    }

    std::weak_ptr<MediaFocusViewController> m_viewer;
    std::mutex m_mutex;
    base::Data m_data;
};

void MediaFocusViewController::showImageFromURL(
    const base::URL& url, std::shared_ptr<ui::View> fromView, std::shared_ptr<ui::ViewController> host)
{
    cancelURLConnectionIfAny();
    m_fromView = std::move(fromView);
    m_targetViewController = host;
    auto download
        = std::make_shared<Download>(std::static_pointer_cast<MediaFocusViewController>(ui::sharedFrom(this)));
    m_urlConnection = net::URLConnection::make(net::URLRequest(url), download);

    if (!m_loadingView)
        m_loadingView = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::White);
    m_loadingView->setFrame({ 0, 0, 30, 30 });
    if (m_fromView) {
        m_fromView->addSubview(m_loadingView);
        gfx::Rect source = m_fromView->bounds();
        m_loadingView->setCenter({ source.width() * 0.5, source.height() * 0.5 });
    }
    m_loadingView->startAnimating();
    m_urlConnection->start();
}

void MediaFocusViewController::cancelURLConnectionIfAny()
{
    if (!m_urlConnection)
        return;
    m_urlConnection->cancel();
    m_urlConnection.reset();
}

void MediaFocusViewController::removeSpinner()
{
    if (!m_loadingView)
        return;
    m_loadingView->stopAnimating();
    m_loadingView->removeFromSuperview();
}

void MediaFocusViewController::downloadFinished(std::optional<base::Data> data, std::optional<base::Error> error)
{
    auto self = ui::sharedFrom(this);
    removeSpinner();
    auto image = data ? gfx::Image::decode(*data) : nullptr;
    if (!error && !image)
        error = base::Error(ErrorDomain, NotAnImageError,
            { { base::Error::LocalizedDescriptionKey, "The downloaded data is not an image." } });
    if (error) {
        if (auto delegate = this->delegate())
            delegate->mediaFocusViewControllerDidFailLoadingImageWithError(*this, *error);
        return;
    }
    showImage(image, m_fromView, m_targetViewController.lock());
    if (auto delegate = this->delegate())
        delegate->mediaFocusViewControllerDidFinishLoadingImage(*this, image);
}

} // namespace kit
