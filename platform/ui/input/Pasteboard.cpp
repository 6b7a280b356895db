#include "ui/input/Pasteboard.h"

#include "base/loop/MainThread.h"

namespace ui {

Pasteboard& Pasteboard::general()
{
    static Pasteboard* pasteboard = new Pasteboard;
    return *pasteboard;
}

std::optional<std::string> Pasteboard::string() const
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_backend.read)
        return m_backend.read();
    return m_text;
}

void Pasteboard::setString(const std::string& text)
{
    BASE_ASSERT_MAIN_THREAD();
    if (m_backend.write)
        m_backend.write(text);
    else
        m_text = text;
}

} // namespace ui
