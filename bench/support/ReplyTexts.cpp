#include "ReplyTexts.h"

#include <functional>

namespace bench {

namespace {

    constexpr size_t ReplyBytes = 64 << 10;

    // A list of device records as one JSON text in the service's envelope, each record made by `record` from
    // its index, up to ReplyBytes.
    std::string deviceList(const std::function<std::string(int)>& record)
    {
        std::string list = "[";
        for (int index = 0; list.size() < ReplyBytes - 160; ++index)
            list += (index ? "," : "") + record(index);
        return R"({"d":")" + list + R"(]"})";
    }

    std::string serialNumber(int index) { return "88001234" + std::to_string(10000 + index); }

    std::string asciiDeviceList()
    {
        return deviceList([](int index) {
            return R"({\"SerialNumber\":\")" + serialNumber(index) + R"(\",\"State\":\"1\",\"Battery\":\"87\"})";
        });
    }

    std::string chineseNamedDeviceList()
    {
        static const char* const names[] = { "张伟的手表", "李娜的定位器", "王芳的手表", "刘洋的儿童表", "陈静的手环" };
        return deviceList([](int index) {
            return R"({\"SerialNumber\":\")" + serialNumber(index) + R"(\",\"Name\":\")" + names[index % 5]
                + R"(\",\"State\":\"1\",\"Battery\":\"87\"})";
        });
    }

    std::string chineseMessage()
    {
        const std::string sentence = "今天下午三点半孩子已经安全到达学校，请家长放心。明天早上七点出发去公园。";
        std::string text;
        while (text.size() + sentence.size() < ReplyBytes - 16)
            text += sentence;
        return R"({"d":")" + text + R"("})";
    }

} // namespace

std::span<const ReplyText> replyTexts()
{
    static const ReplyText texts[] = {
        { "64KB", asciiDeviceList() },
        { "64KB-chinese-names", chineseNamedDeviceList() },
        { "64KB-all-chinese", chineseMessage() },
    };
    return texts;
}

} // namespace bench
