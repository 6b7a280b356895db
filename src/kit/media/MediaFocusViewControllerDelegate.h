// kit::MediaFocusViewControllerDelegate: what a media focus viewer tells its owner: it has appeared, it has
// gone, and how a download it was asked to show ended. Every method is optional; kept weakly. Main thread.
//
//   void mediaFocusViewControllerDidDisappear(kit::MediaFocusViewController&) override
//   { m_tableView->setScrollEnabled(true); }
#pragma once

#include "base/values/Error.h"
#include "gfx/images/Image.h"

#include <memory>

namespace kit {

class MediaFocusViewController;

class MediaFocusViewControllerDelegate {
public:
    virtual ~MediaFocusViewControllerDelegate() = default;
    // At the end of the show animation.
    virtual void mediaFocusViewControllerDidAppear(MediaFocusViewController&) { }
    // After the viewer has been taken down.
    virtual void mediaFocusViewControllerDidDisappear(MediaFocusViewController&) { }
    // A download has been shown.
    virtual void mediaFocusViewControllerDidFinishLoadingImage(
        MediaFocusViewController&, const std::shared_ptr<gfx::Image>&)
    {
    }
    // A download failed, or its bytes were not an image; nothing is shown.
    virtual void mediaFocusViewControllerDidFailLoadingImageWithError(MediaFocusViewController&, const base::Error&) { }
};

} // namespace kit
