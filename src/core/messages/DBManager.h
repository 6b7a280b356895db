// core::DBManager: the local message store, "dataBase.sqlite" in the documents folder: the message centre's
// messages ("UserMessageQuery") and conversation list ("UserMessageList"), the chat's messages
// ("UserChatQuery") and conversation list ("UserChatList"), and each account's current-device row
// ("MobileDeviceDB"). The main thread's calls share one connection, kept open while the file at the path is
// the one it opened (the tables are created on first use); saveIncomingMessages off the main thread opens a
// connection of its own and closes it. Statements take bound values; a file that cannot be opened gives
// nothing or false. A file that is not a database or is damaged (its pages fail SQLite's quick check at launch,
// in createTables, or a write fails on it and the check then finds it damaged) is kept aside as
// "dataBase.sqlite.corrupt-N", with its rollback journal, and a new one made; the failed write is made once
// more on the new file. The file, its journals and its kept-aside copies are private to the user (0600). Times
// are stored as "yyyy/MM/dd HH:mm:ss" (UTC, so that they sort in time order). Main thread, except
// saveIncomingMessages (any thread).
//
//   core::DBManager::saveOrUpdataUserChatQuery(*message);
//   auto chat = core::DBManager::selectUserChatQueryByUserName(account, account, serialNumber);
#pragma once

#include "core/messages/PendingMessage.h"
#include "core/messages/StoredMessage.h"
#include "core/messages/UserMessageQuery.h"
#include "core/records/MobileDeviceAndLocation.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace core {

class DBManager {
public:
    static constexpr const char* FileName = "dataBase.sqlite";
    static std::filesystem::path databasePath();

    // Opens the file, creates the tables and checks the file's pages (done at launch; every other call opens
    // and creates when needed).
    [[nodiscard]] static bool createTables();

    // The signed-in account's ("kLoginName2") current-device row, or nothing.
    static std::shared_ptr<MobileDeviceAndLocation> readSingleMobileDevice();
    // Replaces the signed-in account's current-device row (other accounts' rows stay); whether it was stored.
    [[nodiscard]] static bool saveOrUpdataMobileDeviceDB(const MobileDeviceAndLocation& device);
    // Deletes the signed-in account's current-device rows.
    [[nodiscard]] static bool deleteAllMobileDevice();

    // The account's chat between the two parties, both directions, oldest first.
    static std::vector<std::shared_ptr<UserMessageQuery>> selectUserChatQueryByUserName(
        std::string_view userName, std::string_view from, std::string_view to);
    // The account's message-centre messages between the two parties, both directions, oldest first.
    static std::vector<std::shared_ptr<UserMessageQuery>> selectUserMessageQueryByUserName(
        std::string_view userName, std::string_view from, std::string_view to);
    // A long conversation a page at a time, in its order (StoredMessage.h): the `limit` messages just before
    // `last` (the latest ones without it), oldest first. Both directions between the two parties, of the
    // account, in the place's table of messages.
    static std::vector<StoredMessage> selectConversationPage(PendingMessage::Place place, std::string_view userName,
        std::string_view from, std::string_view to, const std::optional<ConversationKey>& last, int limit);
    // The conversation from `first` on (itself too, while stored) to its latest message, oldest first.
    static std::vector<StoredMessage> selectConversationFrom(PendingMessage::Place place, std::string_view userName,
        std::string_view from, std::string_view to, const ConversationKey& first);
    // Stores a chat message; one whose id_ is already stored is not stored again (true all the same).
    [[nodiscard]] static bool saveOrUpdataUserChatQuery(const UserMessageQuery& message);
    // Makes the message the latest of its conversation: one row per account and partner, the partner being
    // the party that is not the message's owner (its "to" when the owner sent it, else its "from").
    [[nodiscard]] static bool saveOrUpdataUserChatList(const UserMessageQuery& message);
    [[nodiscard]] static bool saveOrUpdataUserMessageQuery(const UserMessageQuery& message);
    [[nodiscard]] static bool saveOrUpdataUserMessageList(const UserMessageQuery& message);

    // Stores a batch of the service's messages, each in its place's two tables as the four calls above do,
    // over one connection in one transaction: all of them or, false, none.
    [[nodiscard]] static bool saveIncomingMessages(const std::vector<PendingMessage>& messages);
    // Stores one part of the messages in the transaction; false when it could not.
    using StoreBatch = std::function<bool(const std::vector<PendingMessage>& batch)>;
    // The same for messages that `produce` hands to the transaction part by part (so that they need not all be
    // in memory at once); it answers whether it handed them all. It is run once more, from the start, on a new
    // file when the first turned out damaged.
    [[nodiscard]] static bool saveIncomingBatches(const std::function<bool(const StoreBatch& store)>& produce);

    // Deletes, in one transaction, the account's chat and message-centre messages (of every device) and its
    // conversation-list rows whose partner is the given device; other accounts' rows stay.
    [[nodiscard]] static bool deleteMessagesOfAccount(std::string_view account, std::string_view serialNumber);
};

} // namespace core
