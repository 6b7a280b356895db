// core::ConfigText: a text field of a device configuration as the service sent it. It tells a text apart from
// JSON null, which the screens show as an empty field and send back as null; an absent key is read as the
// empty text. A plain value, any thread.
//
//   config.numberForSOS = core::ConfigText("13800138000");
//   parameters->setObject(config.numberForListen.value(), "ListenNo"); // null stays null
//   field.setText(config.numberForFather.text());
#pragma once

#include "base/values/Value.h"

#include <string>

namespace core {

class ConfigText {
public:
    // The empty text.
    ConfigText() = default;
    ConfigText(std::string text)
        : m_text(std::move(text))
    {
    }
    ConfigText(const char* text)
        : m_text(text)
    {
    }
    static ConfigText null()
    {
        ConfigText nullText;
        nullText.m_isNull = true;
        return nullText;
    }

    bool isNull() const { return m_isNull; }
    // The text; empty for null.
    const std::string& text() const { return m_text; }
    // What goes back to the service: the text, or the null value.
    base::Value value() const { return m_isNull ? base::Value::null() : base::Value(m_text); }

    bool operator==(const ConfigText&) const = default;

private:
    std::string m_text;
    bool m_isNull { false };
};

} // namespace core
