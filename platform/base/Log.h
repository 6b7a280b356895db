// base::log: one-line diagnostic messages, written to stderr through a replaceable sink. Safe from any thread.
// Tests capture messages with Log::ScopedCapture; a release build can silence a category of messages (such as
// the database's statement trace) by installing a sink that drops them.
//
//   base::log("database: busy for 2 s, giving up");
//   base::Log::ScopedCapture capture; ...; EXPECT_TRUE(capture.contains("busy"));
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace base {

void log(std::string_view message);

class Log {
public:
    using Sink = std::function<void(std::string_view)>;
    // Installs a sink (an empty one restores stderr) and returns the previous one.
    static Sink setSink(Sink sink);

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
