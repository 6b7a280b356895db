// feedback::FeedbackThread: the feedback conversation kept on this machine: the user's messages in the order
// written, each with its time and whether the feedback service has it. Each account has its own, in one JSON
// file ("<data root>/feedback/thread-<account, escaped>.json"), written atomically after every change, so a
// message is never lost to a crash or a failed post: an unsent one stays marked and can go again. A file that
// cannot be read starts an empty thread (and is only replaced once something is written). The one file of
// earlier versions ("thread.json") does not say whose it is: it stays on disk and no account is shown it.
// Main thread.
//
//   auto thread = feedback::FeedbackThread::load(feedback::FeedbackThread::pathForAccount(account));
//   auto& message = thread.append("The map is slow", base::Date::now());
//   thread.markSent(message.id, true);
#pragma once

#include "base/time/Date.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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
    // The account's conversation file. Every byte of the name but letters, digits and "-_.[]" is escaped as
    // "%XX", so that no name reaches outside the folder or meets another account's file.
    static std::filesystem::path pathForAccount(std::string_view account);

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
