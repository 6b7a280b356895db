// kit::TwoTitleButton: a thinly bordered button with a title over a subtitle, each in half of its height
// (the title 3 points lower). The title, subtitle and text colour are stored and shown at the next layout
// pass. Main thread.
//
//   auto day = kit::TwoTitleButton::make({ 0, 0, 40, 44 });
//   day->setTitle("Mon");
//   day->setSubtitle("06-02");
#pragma once

#include "ui/controls/Button.h"

#include <memory>
#include <optional>
#include <string>

namespace kit {

class TwoTitleButton : public ui::Button {
    struct Private {
        explicit Private() = default;
    };

public:
    static std::shared_ptr<TwoTitleButton> make(const gfx::Rect& frame);
    TwoTitleButton(Private, const gfx::Rect& frame);

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    const std::string& subtitle() const { return m_subtitle; }
    void setSubtitle(std::string subtitle) { m_subtitle = std::move(subtitle); }
    // Empty: the labels' default black.
    const std::optional<gfx::Color>& textColor() const { return m_textColor; }
    void setTextColor(std::optional<gfx::Color> color) { m_textColor = color; }

    const std::shared_ptr<ui::Label>& titleTextLabel() const { return m_titleLabel; }
    const std::shared_ptr<ui::Label>& subtitleLabel() const { return m_subtitleLabel; }

    void layoutSubviews() override;

private:
    void initViews();

    std::string m_title;
    std::string m_subtitle;
    std::optional<gfx::Color> m_textColor;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::Label> m_subtitleLabel;
};

} // namespace kit
