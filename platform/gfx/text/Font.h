// gfx::Font: a typeface request by role (system, bold system) or by name, at a size in points, mapped onto
// the installed families: DejaVu Sans for Latin text with WenQuanYi Micro Hei for Chinese. Asking never
// fails: an unknown name gives the system font of that size. A value, any thread.
//
// Names are read as "<family>[-<style>]": families of the Helvetica, Helvetica Neue, Avenir and Arial kinds
// are known; a style containing Bold, Heavy or Black draws bold, one containing Oblique or Italic slanted.
//
//   auto title = gfx::Font::boldSystem(16);
//   auto tip = gfx::Font::named("Avenir-Medium", 12);
#pragma once

#include <string>
#include <string_view>

namespace gfx {

class Font {
public:
    static Font system(double size);
    static Font boldSystem(double size);
    static Font named(std::string_view name, double size);
    // The standard text size of labels and controls.
    static constexpr double systemFontSize() { return 14; }

    // The name asked for, or "System" / "System-Bold" for the roles and for unknown names.
    const std::string& name() const { return m_name; }
    double size() const { return m_size; }
    bool isBold() const { return m_bold; }
    bool isItalic() const { return m_italic; }
    Font withSize(double size) const;

    // The installed families to draw with, most preferred first, comma-separated.
    static constexpr const char* families = "DejaVu Sans,WenQuanYi Micro Hei";

    friend bool operator==(const Font&, const Font&) = default;

private:
    Font(std::string name, double size, bool bold, bool italic);

    std::string m_name;
    double m_size;
    bool m_bold;
    bool m_italic;
};

} // namespace gfx
