#include "base/text/TextEncoding.h"
#include "base/text/UTF8.h"

#include <gtest/gtest.h>

namespace {

using base::TextEncoding;

std::string bytesOf(const std::optional<std::vector<uint8_t>>& bytes)
{
    return bytes ? std::string(bytes->begin(), bytes->end()) : "(none)";
}

TEST(TextEncoding, ConvertsBothWaysInEachEncoding)
{
    const std::pair<TextEncoding::Code, const char*> samples[] = {
        { TextEncoding::UTF8, "Grüße, 中文 😀" },
        { TextEncoding::ASCII, "plain text" },
        { TextEncoding::ISOLatin1, "Grüße ©" },
        { TextEncoding::ISOLatin2, "Łódź" },
        { TextEncoding::WindowsCP1251, "Привет" },
        { TextEncoding::WindowsCP1252, "€ – naïve" },
        { TextEncoding::ShiftJIS, "日本語テキスト" },
        { TextEncoding::JapaneseEUC, "日本語" },
        { TextEncoding::ISO2022JP, "日本語 and ASCII" },
        { TextEncoding::GB18030, "中文 😀" },
        { TextEncoding::GBK, "设置成功" },
        { TextEncoding::EUC_CN, "设置成功" },
        { TextEncoding::Big5, "繁體中文" },
        { TextEncoding::EUC_KR, "한국어" },
        { TextEncoding::KOI8_R, "Привет" },
        { TextEncoding::MacOSRoman, "café" },
        { TextEncoding::ISOLatin9, "€" },
        { TextEncoding::Unicode, "中文 😀" },
        { TextEncoding::UTF16BigEndian, "中文 😀" },
        { TextEncoding::UTF16LittleEndian, "中文 😀" },
        { TextEncoding::UTF32, "😀" },
        { TextEncoding::UTF32BigEndian, "😀" },
        { TextEncoding::UTF32LittleEndian, "😀" },
    };
    for (auto [code, text] : samples) {
        auto bytes = TextEncoding::encode(text, code);
        ASSERT_TRUE(bytes) << code;
        EXPECT_EQ(TextEncoding::decode(*bytes, code), text) << code;
    }
}

TEST(TextEncoding, KnownByteForms)
{
    EXPECT_EQ(bytesOf(TextEncoding::encode("é", TextEncoding::ISOLatin1)), "\xE9");
    EXPECT_EQ(bytesOf(TextEncoding::encode("中", TextEncoding::GB18030)), "\xD6\xD0");
    EXPECT_EQ(bytesOf(TextEncoding::encode("A", TextEncoding::UTF16BigEndian)), std::string("\0A", 2));
    EXPECT_EQ(bytesOf(TextEncoding::encode("A", TextEncoding::Unicode)),
        std::string("\xFF\xFE"
                    "A\0",
            4));
    EXPECT_EQ(TextEncoding::decode(std::string_view("\xFE\xFF\0A", 4), TextEncoding::Unicode), "A");
    EXPECT_EQ(TextEncoding::decode(std::string_view("A\0", 2), TextEncoding::Unicode), "A");
}

TEST(TextEncoding, InvalidBytesDecodeToNothing)
{
    EXPECT_FALSE(TextEncoding::decode("\xC3", TextEncoding::UTF8));
    EXPECT_FALSE(TextEncoding::decode("\xED\xA0\x80", TextEncoding::UTF8)); // an encoded surrogate
    EXPECT_FALSE(TextEncoding::decode("\xC0\xAF", TextEncoding::UTF8)); // an overlong "/"
    EXPECT_FALSE(TextEncoding::decode("caf\xE9", TextEncoding::ASCII));
    EXPECT_FALSE(TextEncoding::decode("\x81", TextEncoding::GB18030));
    EXPECT_FALSE(TextEncoding::decode(std::string_view("\0\xD8", 2), TextEncoding::UTF16LittleEndian));
    EXPECT_FALSE(TextEncoding::decode("text", 999));
    EXPECT_EQ(TextEncoding::decode("caf\xE9", TextEncoding::ISOLatin1), "café");
}

TEST(TextEncoding, UnrepresentableCharactersFailOrBecomeQuestionMarks)
{
    EXPECT_FALSE(TextEncoding::encode("a中b", TextEncoding::ISOLatin1));
    EXPECT_EQ(bytesOf(TextEncoding::encode("a中b😀", TextEncoding::ISOLatin1, true)), "a?b?");
    EXPECT_EQ(bytesOf(TextEncoding::encode("x中", TextEncoding::ASCII, true)), "x?");
    EXPECT_FALSE(TextEncoding::encode("bad \xFF", TextEncoding::UTF8, true));
}

TEST(TextEncoding, CharsetNames)
{
    EXPECT_EQ(TextEncoding::fromIANACharsetName("UTF-8"), TextEncoding::UTF8);
    EXPECT_EQ(TextEncoding::fromIANACharsetName(" utf8 "), TextEncoding::UTF8);
    EXPECT_EQ(TextEncoding::fromIANACharsetName("ISO-8859-1"), TextEncoding::ISOLatin1);
    EXPECT_EQ(TextEncoding::fromIANACharsetName("gb2312"), TextEncoding::EUC_CN);
    EXPECT_EQ(TextEncoding::fromIANACharsetName("Shift_JIS"), TextEncoding::ShiftJIS);
    EXPECT_EQ(TextEncoding::fromIANACharsetName("windows-1252"), TextEncoding::WindowsCP1252);
    EXPECT_FALSE(TextEncoding::fromIANACharsetName("x-unknown"));
    EXPECT_FALSE(TextEncoding::fromIANACharsetName(""));
    EXPECT_EQ(TextEncoding::ianaCharsetName(TextEncoding::UTF8), "utf-8");
    EXPECT_EQ(TextEncoding::ianaCharsetName(TextEncoding::GB18030), "gb18030");
    EXPECT_EQ(TextEncoding::ianaCharsetName(12345), "");
    for (TextEncoding::Code code : { TextEncoding::ASCII, TextEncoding::UTF8, TextEncoding::ISOLatin1,
             TextEncoding::ShiftJIS, TextEncoding::Unicode, TextEncoding::GBK, TextEncoding::Big5 })
        EXPECT_EQ(TextEncoding::fromIANACharsetName(TextEncoding::ianaCharsetName(code)), code);
}

TEST(TextEncoding, GB2312LabelledTextsMayCarryGBKCharacters)
{
    auto bytes = TextEncoding::encode("喆", TextEncoding::GBK); // outside GB2312
    ASSERT_TRUE(bytes);
    EXPECT_EQ(TextEncoding::decode(*bytes, TextEncoding::EUC_CN), "喆");
}

TEST(UTF8, CountsAndCutsOnCodePoints)
{
    std::string text = "a中😀b";
    EXPECT_EQ(base::utf8::countCodePoints(text), 4u);
    EXPECT_EQ(base::utf8::prefix(text, 2), "a中");
    EXPECT_EQ(base::utf8::prefix(text, 10), text);
    EXPECT_EQ(base::utf8::truncateToBytes(text, 3), "a");
    EXPECT_EQ(base::utf8::truncateToBytes(text, 4), "a中");
    EXPECT_EQ(base::utf8::truncateToBytes(text, 7), "a中");
    EXPECT_EQ(base::utf8::truncateToBytes(text, 8), "a中😀");
    EXPECT_EQ(base::utf8::countCodePoints("\xFF\xFE"), 2u);
}

TEST(UTF8, ValidationAndAppending)
{
    EXPECT_TRUE(base::utf8::isValid("plain 中文 😀"));
    EXPECT_FALSE(base::utf8::isValid("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(base::utf8::isValid("\xE0\x80\x80"));
    // Runs of ASCII are skipped a wide block, a block or a word at a time: what follows them is still checked,
    // wherever it starts within or after two wide blocks.
    for (size_t length = 0; length < 530; ++length) {
        std::string ascii(length, 'a');
        EXPECT_FALSE(base::utf8::isValid(ascii + "\xC0\xAF" + ascii)) << length;
        EXPECT_FALSE(base::utf8::isValid(ascii + "\xE4\xB8")) << length;
        EXPECT_TRUE(base::utf8::isValid(ascii + "中" + ascii)) << length;
    }
    std::string out;
    base::utf8::append(out, U'€');
    base::utf8::append(out, 0xD800);
    EXPECT_EQ(out, "€\xEF\xBF\xBD");
}

} // namespace
