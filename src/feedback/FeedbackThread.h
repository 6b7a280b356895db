// feedback::FeedbackThread: the feedback conversation kept on this machine: the user's messages in the order
// written, each with its time and whether the feedback service has it. It lives in one JSON file
// ("<data root>/feedback/thread.json"), written atomically after every change, so a message is never lost
// to a crash or a failed post: an unsent one stays marked and can go again. A file that cannot be read
// starts an empty thread (and is only replaced once something is written). Main thread.
//
//   auto thread = feedback::FeedbackThread::load(feedback::FeedbackThread::defaultPath());
//   auto& message = thread.append("The map is slow", base::Date::now());
//   thread.markSent(message.id, true);
#pragma once

#include "base/time/Date.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace feedback {

struct FeedbackMessage {
    // Unique within the thread: the order of writing, from 1.
    int64_t id { 0 };
    std::string text;
    base::Date time;
    bool sent { false };
};

class FeedbackThread {
public:
    static std::filesystem::path defaultPath();

    static FeedbackThread load(std::filesystem::path path);

    const std::vector<FeedbackMessage>& messages() const { return m_messages; }
    const FeedbackMessage* find(int64_t id) const;

    // Adds an unsent message and saves; the message as kept.
    const FeedbackMessage& append(std::string text, base::Date time);
    // Marks the message and saves; false when there is no such message or the file cannot be written.
    [[nodiscard]] bool markSent(int64_t id, bool sent);

    // Writes the whole thread; whether it reached the file.
    bool save() const;

private:
    explicit FeedbackThread(std::filesystem::path path);

    std::filesystem::path m_path;
    std::vector<FeedbackMessage> m_messages;
};

} // namespace feedback
