// kit::returnInPanel: Return in a panel of text fields, answered as a prompt that takes text answers it: in a
// field before the panel's last one the editing moves on to the next field; in the last one the panel's
// confirming button is pressed as a click on it presses it (nothing is pressed while the button is disabled or
// hidden). A field that is not one of `fields` is left alone. The answer a field's delegate gives: false, so
// that the field does not end its editing by itself (the button decides, as its click would). Main thread.
//
//   bool Panel::textFieldShouldReturn(ui::TextField& field)
//   {
//       return kit::returnInPanel(field, { m_name, m_number }, m_done);
//   }
#pragma once

#include <memory>
#include <vector>

namespace ui {
class Button;
class TextField;
}

namespace kit {

bool returnInPanel(ui::TextField& field, const std::vector<std::shared_ptr<ui::TextField>>& fields,
    const std::shared_ptr<ui::Button>& confirm);

} // namespace kit
