// kit::ModalCloseButton: the modal presenter's 32 by 32 point close button: a dark round disc with a white
// ring and a white cross, drawn once per process and shared by every close button. Main thread.
#pragma once

#include "ui/controls/Button.h"

namespace kit {

class ModalCloseButton : public ui::Button {
    struct Private {
        explicit Private() = default;
    };

public:
    static constexpr gfx::Rect defaultFrame { 0, 0, 32, 32 };

    static std::shared_ptr<ModalCloseButton> make();
    explicit ModalCloseButton(Private);

    // Drawn on first use at the screen's scale.
    static std::shared_ptr<gfx::Image> closeButtonImage();
};

} // namespace kit
