// ui::AlertWindow: the window alerts and action sheets are shown in: it covers the screen at the alert
// level (in front of every normal window; a later one in front of an earlier one), dims what is behind it
// with a black layer of alpha 0.4 and holds the panel. It keeps itself, and so the panel, alive from
// show() to dismiss(), which lets go of both. It does not become the key window, so the screen behind keeps
// presenting. The dim layer takes every touch outside the panel and does nothing with it. Main thread.
//
//   m_window = std::make_shared<ui::AlertWindow>();
//   m_window->show(sharedFrom(this));
//   ...
//   m_window->dismiss();
#pragma once

#include "ui/view/Window.h"

namespace ui {

class AlertWindow : public Window {
public:
    static constexpr double level = 2000;
    static constexpr double dimAlpha = 0.4;

    AlertWindow();

    std::shared_ptr<View> panel() const { return m_panel.lock(); }
    const std::shared_ptr<View>& dimView() const { return m_dimView; }
    bool isShown() const;

    // Fades the dim layer and the panel in (only what is drawn: the model is shown at once).
    void show(const std::shared_ptr<View>& panel);
    // Takes the window off the screen at once and lets go of it and the panel.
    void dismiss();

    // Escape and Return go to the panel; being modal, the window takes them whether or not the panel acts,
    // so that nothing behind it does.
    bool performEscape() override;
    bool performReturn() override;

private:
    std::shared_ptr<View> m_dimView;
    std::weak_ptr<View> m_panel;
};

} // namespace ui
