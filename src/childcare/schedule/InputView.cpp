#include "childcare/schedule/InputView.h"

#include "base/loop/MainThread.h"
#include "base/text/Localization.h"
#include "base/text/UTF8.h"
#include "core/helpers/KeyboardLift.h"
#include "kit/modal/PanelReturn.h"
#include "ui/controls/Button.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/TextField.h"
#include "ui/input/Keyboard.h"
#include "ui/view/Window.h"

#include <cmath>

namespace childcare {

std::shared_ptr<InputView> InputView::make(const gfx::Rect& frame)
{
    auto view = std::make_shared<InputView>(frame);
    view->initView();
    return view;
}

InputView::InputView(const gfx::Rect& frame)
    : ui::View(frame)
{
}

std::shared_ptr<ui::TextField> InputView::makeField(const gfx::Rect& frame)
{
    // A text field has no background image of its own: the image lies right behind it.
    auto background = std::make_shared<ui::ImageView>(gfx::Image::named("class_btn"));
    background->setFrame(frame);
    addSubview(background);
    auto field = std::make_shared<ui::TextField>(frame);
    field->setTextColor(gfx::Color::white());
    field->setTextAlignment(gfx::TextAlignment::Center);
    addSubview(field);
    return field;
}

void InputView::initView()
{
    double w = bounds().width();
    double h = bounds().height();
    m_imageView = std::make_shared<ui::ImageView>(gfx::Image::named("alert_view"));
    m_imageView->setFrame({ 0, 0, w, h });
    insertSubviewAtIndex(m_imageView, 0);

    m_btnCancel = std::make_shared<ui::Button>(gfx::Rect { 0, 25, 50, 50 });
    m_btnCancel->setImage(gfx::Image::named("close"), ui::ControlState::Normal);
    addSubview(m_btnCancel);

    m_txtCourseName = makeField({ w / 6, h / 2 - 65, 2 * w / 3, 50 });
    m_txtCourseName->setDelegate(std::static_pointer_cast<InputView>(sharedFrom(this)));
    m_txtCourseName->addAction(
        [weak = ui::weakFrom(this)](ui::Control& sender) {
            if (auto self = weak.lock())
                self->textFieldDidChange(static_cast<ui::TextField&>(sender));
        },
        ui::ControlEvent::EditingChanged, this);

    m_txtTime = makeField({ w / 6, h / 2 - 15, 2 * w / 3, 50 });
    m_txtTime->setText("00:00~00:00");
    m_txtTime->setUserInteractionEnabled(false);

    m_lift = core::KeyboardLift::make(ui::weakFrom(this), [weak = ui::weakFrom(this)](const gfx::Rect& frame, double) {
        auto self = weak.lock();
        return frame.minY() - (self ? self->liftDistance() : 0);
    });

    m_btnDone = std::make_shared<ui::Button>(gfx::Rect { w / 6, h / 2 + 35, 2 * w / 3, 50 });
    m_btnDone->setBackgroundImage(gfx::Image::named("class_btn"), ui::ControlState::Normal);
    m_btnDone->setTitle(base::localized("done"), ui::ControlState::Normal);
    m_btnDone->setTitleColor(gfx::Color::white(), ui::ControlState::Normal);
    addSubview(m_btnDone);
}

void InputView::textFieldDidChange(ui::TextField& field)
{
    if (&field != m_txtCourseName.get() || field.hasMarkedText())
        return;
    if (base::utf8::countCodePoints(field.text()) >= maximumNameLength)
        field.setText(std::string(base::utf8::prefix(field.text(), maximumNameLength)));
}

void InputView::textFieldDidBeginEditing(ui::TextField& field)
{
    if (auto window = field.window(); window && !window->isKeyWindow())
        window->makeKeyAndVisible();
    field.setReturnKeyType(ui::ReturnKeyType::Done);
}

double InputView::liftDistance() const
{
    double fieldBottom = m_txtCourseName->frame().minY() + 32;
    double lift = std::trunc(fieldBottom - (bounds().height() - ui::Keyboard::shared().shownFrame().height()));
    return lift >= 1 ? lift : 0;
}

void InputView::didMoveToWindow()
{
    if (!m_lift)
        return;
    if (window())
        m_lift->start();
    else
        m_lift->stop();
}

bool InputView::textFieldShouldReturn(ui::TextField& field)
{
    BASE_ASSERT_MAIN_THREAD();
    // The time field never takes the caret: the name is the entry's last field.
    return kit::returnInPanel(field, { m_txtCourseName }, m_btnDone);
}

} // namespace childcare
