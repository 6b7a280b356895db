// ui::TextFieldDelegate: what an owner decides and hears while a text field is edited. Every method is
// optional. The order for one editing session: textFieldShouldBeginEditing, textFieldDidBeginEditing, then
// textFieldShouldChangeCharacters before each change the user makes (typing, deleting, committing a
// composition, the clear button) and textFieldShouldReturn for the return key, and finally
// textFieldDidEndEditing when the field resigns. Held weakly by the field. Main thread.
//
//   bool textFieldShouldReturn(ui::TextField& field) override { field.resignFirstResponder(); return true; }
#pragma once

#include "ui/controls/TextFieldTypes.h"

#include <string>

namespace ui {

class TextField;

class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;

    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual void textFieldDidBeginEditing(TextField&) { }
    // `range` (code points of the current text) is to be replaced by `replacement`; no: the edit is dropped.
    virtual bool textFieldShouldChangeCharacters(TextField&, TextRange /*range*/, const std::string& /*replacement*/)
    {
        return true;
    }
    virtual void textFieldDidEndEditing(TextField&) { }
    virtual bool textFieldShouldReturn(TextField&) { return true; }
};

} // namespace ui
