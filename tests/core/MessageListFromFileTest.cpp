// The message list reader over a reply in a file, read through a window, against the same reader over the reply
// in memory: the same messages, positions, unreadable parts and verdict, wherever the window's edges fall.
#include "core/readers/FileText.h"
#include "core/readers/MessageList.h"
#include "core/service/ServiceProtocol.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using core::FileText;
using core::MessageList;

// A message's fields in one text, so that two lists compare field by field.
std::string fields(const core::UserMessageQuery& m)
{
    auto text = [](const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : "-"; };
    return text(m.id_) + text(m.context) + text(m.desc) + text(m.from) + text(m.to) + text(m.fromIconName)
        + text(m.toIconName) + (m.msgType ? std::to_string(*m.msgType) : "-") + text(m.url)
        + (m.createTime ? std::to_string(m.createTime->timeIntervalSince1970()) : "-");
}

struct Read {
    std::vector<std::string> messages;
    std::vector<size_t> positions;
    std::vector<std::string> unreadable;
    std::string withoutList;

    bool operator==(const Read&) const = default;
};

Read described(const MessageList& list, std::vector<std::string> messages, std::vector<size_t> positions)
{
    Read read { std::move(messages), std::move(positions), {}, list.withoutList ? list.withoutList : "" };
    for (const auto& part : list.unreadable)
        read.unreadable.push_back(std::to_string(part.offset) + ":" + part.bytes + ":" + part.why);
    return read;
}

Read inMemory(const std::string& reply)
{
    MessageList list = core::readMessageList(reply);
    std::vector<std::string> messages;
    for (const auto& message : list.messages)
        messages.push_back(fields(*message));
    return described(list, messages, list.positions);
}

class MessageListFromFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "message-list-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    // The reply read from a file whose first line comes before it, `windowBytes` at a time.
    Read fromFile(const std::string& reply, size_t windowBytes) const
    {
        const std::string firstLine = "{\"voiceToChat\":true}\n";
        auto path = m_folder / "reply";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << firstLine << reply;
        auto text = FileText::open(path, firstLine.size(), windowBytes);
        EXPECT_TRUE(text.has_value());
        if (!text)
            return {};
        std::vector<std::string> messages;
        std::vector<size_t> positions;
        MessageList list
            = core::readMessageList(*text, [&](std::shared_ptr<core::UserMessageQuery> message, size_t position) {
                  messages.push_back(fields(*message));
                  positions.push_back(position);
              });
        EXPECT_FALSE(text->failed());
        EXPECT_TRUE(list.messages.empty()) << "handed on, not kept";
        return described(list, messages, positions);
    }

    std::filesystem::path m_folder;
};

TEST_F(MessageListFromFile, GivesWhatTheReplyInMemoryGivesWhereverTheWindowEnds)
{
    const std::string whole
        = std::string(R"({"d":[{"_id":"t1","Desc":"","Context":"hi \"you\"","From":"LW36","To":"ann","MsgType":3,)")
        + R"("FromIconName":"a.png","ToIconName":"b.png","Url":"http://h/v.amr","CreateTime":"2026/12/07 10:00:00"},)"
        + R"({"Desc":")" + core::ServiceProtocol::VoiceMarker + R"(","Context":"v1.amr","MsgType":5}, {"_id":"t1"}]})";
    const std::string replies[] = {
        whole,
        whole.substr(0, whole.size() - 20), // cut inside the last element
        R"({"d":[{"_id":"a"},{"_id":"b","Context":"x}]{[\"y"},{"_id":"c","Con)",
        R"({"d":[{"_id":"a"},{"_id":"b"},)",
        R"({"d":[{"_id":"a"},7,"x",{"_id":"b"},])",
        R"({"x":{"d":[{"_id":"no"}]},"\u0064":[{"_id":"a"}]})",
        R"({"d":[{"_id":"a","Extra":[1e999999,{"y":-1e999999}]},{"_id":"b","CreateTime":1e999999}]})",
        R"({"d":[{"_id":"a"} {"_id":"b"}]})",
        R"({"d":[{"_id":"a"}]}{"d":[{"_id":"b"}]})",
        "\xEF\xBB\xBF"
        R"( {"d":[{"_id":"a"}]} )"
            + std::string(3, '\0'),
        R"({"d":[{"_id":"a","Context":"\x"},{"_id":"b","Unread":"\x"}]})",
        R"({"d" [{"_id":"a"}]})",
        R"({"d":[)",
        R"({"d")",
        "",
        "   \n",
        "<html>Service Unavailable</html>",
        "[1,2]",
        "{}",
        R"({"d":{"_id":"o1"}})",
        R"({"d":"busy"})",
        R"({"d":null})",
    };
    for (const std::string& reply : replies) {
        SCOPED_TRACE(reply);
        Read expected = inMemory(reply);
        for (size_t window : { size_t(1), size_t(2), size_t(3), size_t(7), size_t(64), FileText::WindowBytes }) {
            SCOPED_TRACE(window);
            EXPECT_EQ(fromFile(reply, window), expected);
        }
    }
}

TEST_F(MessageListFromFile, AFileCutWhileReadIsSaidToHaveFailed)
{
    auto path = m_folder / "reply";
    std::ofstream(path, std::ios::binary) << std::string(100, 'x');
    auto text = FileText::open(path, 0, 10);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ((*text)[5], 'x');
    std::filesystem::resize_file(path, 50);
    EXPECT_EQ(text->substr(40, 20), std::string(10, 'x') + std::string(10, '\0'));
    EXPECT_TRUE(text->failed());
    EXPECT_EQ((*text)[200], '\0') << "past the end reads as NUL";
}

} // namespace
