// chat::RecordHUD: the overlay shown while the user holds the talk button: the whole screen dimmed (black at
// half alpha) with a microphone level image, a hint and the elapsed time, in a window of its own that takes
// no touches. One shared instance; the class functions work on it. Showing fades it in and builds the image
// and labels afresh; dismissing fades it out, then takes them and the window away and gives the key back to
// the frontmost window of normal level. The text and image setters do nothing while the overlay is not
// built. Main thread.
//
//   chat::RecordHUD::show();
//   chat::RecordHUD::setImage("mic_3");
//   chat::RecordHUD::dismiss();
#pragma once

#include "ui/view/View.h"

#include <memory>
#include <string>

namespace ui {
class ImageView;
class Label;
class Window;
}

namespace chat {

class RecordHUD : public ui::View {
public:
    static constexpr double fadeDuration = 0.3;
    static constexpr gfx::Size imageSize { 154, 180 };
    static constexpr gfx::Size labelSize { 150, 40 };

    static const std::shared_ptr<RecordHUD>& shareView();
    static void show();
    static void dismiss();
    static void setTitle(const std::string& text);
    static void setTimeTitle(const std::string& text);
    static void setImage(const std::string& name);

    RecordHUD();

    const std::shared_ptr<ui::ImageView>& imgView() const { return m_imgView; }
    const std::shared_ptr<ui::Label>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<ui::Label>& timeLabel() const { return m_timeLabel; }
    // The window it lies in, made when missing.
    const std::shared_ptr<ui::Window>& overlayWindow();
    bool hasOverlayWindow() const { return m_overlayWindow != nullptr; }

private:
    void showOverlay();
    void dismissOverlay();
    void buildContent();
    void takeDown();

    std::shared_ptr<ui::ImageView> m_imgView;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::Label> m_timeLabel;
    std::shared_ptr<ui::Window> m_overlayWindow;
};

} // namespace chat
