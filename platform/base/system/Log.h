// base::log: one-line diagnostic messages, written to stderr through a replaceable sink. Safe from any thread.
// A message of base::log is a warning or an error and is always written. base::trace writes a detail message of
// a named category ("sql", "sql-args", "net", ...) only while that category is on: every category is off
// unless the environment variable LUMET_LOG names it (a comma-separated list; "all" turns every one on but
// "sql-args", which only its name turns on) or the program turns it on (the application's --verbose). Detail
// messages may carry personal data (SQL statements, bound arguments), which is why they are off by default.
// Tests capture messages with Log::ScopedCapture.
//
//   base::log("database: busy for 2 s, giving up");
//   base::trace("sql", "executeUpdate: " + sql);
//   base::Log::ScopedCapture capture; ...; EXPECT_TRUE(capture.contains("busy"));
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace base {

void log(std::string_view message);
// Writes the message only while its category is on.
void trace(std::string_view category, std::string_view message);

class Log {
public:
    using Sink = std::function<void(std::string_view)>;
    // Installs a sink (an empty one restores stderr) and returns the previous one.
    static Sink setSink(Sink sink);

    static bool isEnabled(std::string_view category);
    static void setEnabled(std::string_view category, bool enabled);
    // Turns on each category of a comma-separated list; "all" turns every category on but "sql-args".
    static void enable(std::string_view list);
    // Turns every category off again, as when nothing was asked for.
    static void disableAll();

    // Turns categories on while it lives.
    class ScopedCategories {
    public:
        explicit ScopedCategories(std::string_view list);
        ~ScopedCategories();
        ScopedCategories(const ScopedCategories&) = delete;
        ScopedCategories& operator=(const ScopedCategories&) = delete;

    private:
        bool m_previousAll;
        std::vector<std::string> m_previousOn;
    };

    // Collects every message logged while it lives (and keeps them from stderr).
    class ScopedCapture {
    public:
        ScopedCapture();
        ~ScopedCapture();
        ScopedCapture(const ScopedCapture&) = delete;
        ScopedCapture& operator=(const ScopedCapture&) = delete;
        std::vector<std::string> messages() const;
        bool contains(std::string_view fragment) const;

    private:
        mutable std::mutex m_mutex;
        std::vector<std::string> m_messages;
        Sink m_previous;
    };
};

} // namespace base
