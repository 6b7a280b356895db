// kit::ModalPresenterViewController: the root controller of the modal presenter's window. Its view fills the
// screen, clear, with the darkened background (a ModalGradientView) stretched over it; the presenter adds
// the framed content above that. Main thread.
#pragma once

#include "kit/modal/ModalGradientView.h"
#include "ui/controllers/ViewController.h"

namespace kit {

class ModalPresenterViewController : public ui::ViewController {
public:
    std::shared_ptr<ModalGradientView> styleView() const { return m_styleView.lock(); }
    void setStyleView(std::weak_ptr<ModalGradientView> view) { m_styleView = std::move(view); }

    void loadView() override;
    void viewDidLoad() override;
    // Escape does what a tap on the darkened background does; the panel being modal, nothing behind it
    // hears the key either way.
    bool performEscape() override;

private:
    std::weak_ptr<ModalGradientView> m_styleView;
};

} // namespace kit
