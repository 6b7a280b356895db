// kit::DropBoxDelegate: told which row of a drop-down box's list the user chose. Held weakly by the box. Main
// thread.
#pragma once

namespace kit {

class DropBoxView;

class DropBoxDelegate {
public:
    virtual ~DropBoxDelegate() = default;
    // The box's text field already shows the choice and its list is closed.
    virtual void selectAtIndex(int /*index*/, DropBoxView&) { }
};

} // namespace kit
