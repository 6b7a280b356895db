// ui::Pasteboard: the clipboard the text fields copy to and paste from. By default it keeps its text in the
// process; a host installs a backend that reads and writes the desktop's clipboard instead (the SDL host
// uses SDL's), and removes it when it closes. Main thread.
//
//   ui::Pasteboard::general().setString("LW3600000001");
//   if (auto text = ui::Pasteboard::general().string()) field->insertText(*text);
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ui {

class Pasteboard {
public:
    struct Backend {
        std::function<std::optional<std::string>()> read;
        std::function<void(const std::string&)> write;
    };

    static Pasteboard& general();

    // Empty when the clipboard holds no text.
    [[nodiscard]] std::optional<std::string> string() const;
    void setString(const std::string& text);

    // An empty backend (the default) goes back to the in-process text.
    void setBackend(Backend backend) { m_backend = std::move(backend); }

private:
    Pasteboard() = default;

    Backend m_backend;
    std::optional<std::string> m_text;
};

} // namespace ui
