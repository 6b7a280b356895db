// base::TextEncoding: the platform's string encodings, named by their numeric codes (UTF-8 is 4, ISO Latin-1
// is 5, ...) and by IANA character-set names, and conversion between UTF-8 texts and the bytes of an
// encoding (iconv underneath). Stateless; every function is safe on any thread.
//
//   auto code = base::TextEncoding::fromIANACharsetName("GB2312");      // EUC_CN
//   std::optional<std::string> text = base::TextEncoding::decode(body, code.value_or(base::TextEncoding::UTF8));
//   std::optional<base::Data> bytes = base::TextEncoding::encode("Grüße", base::TextEncoding::ISOLatin1);
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace base {

class TextEncoding {
public:
    using Code = uint64_t;

    static constexpr Code ASCII = 1;
    static constexpr Code JapaneseEUC = 3;
    static constexpr Code UTF8 = 4;
    static constexpr Code ISOLatin1 = 5;
    static constexpr Code ShiftJIS = 8;
    static constexpr Code ISOLatin2 = 9;
    // UTF-16 with a byte-order mark; host (little-endian) order when writing and when a text has no mark.
    static constexpr Code Unicode = 10;
    static constexpr Code WindowsCP1251 = 11;
    static constexpr Code WindowsCP1252 = 12;
    static constexpr Code WindowsCP1253 = 13;
    static constexpr Code WindowsCP1254 = 14;
    static constexpr Code WindowsCP1250 = 15;
    static constexpr Code ISO2022JP = 21;
    static constexpr Code MacOSRoman = 30;
    static constexpr Code UTF16BigEndian = 0x90000100;
    static constexpr Code UTF16LittleEndian = 0x94000100;
    static constexpr Code UTF32 = 0x8c000100;
    static constexpr Code UTF32BigEndian = 0x98000100;
    static constexpr Code UTF32LittleEndian = 0x9c000100;
    // Encodings that have no code of their own carry the platform's extended code (0x80000000 | id).
    static constexpr Code ISOLatin9 = 0x8000020F;
    static constexpr Code GBK = 0x80000631;
    static constexpr Code GB18030 = 0x80000632;
    static constexpr Code EUC_CN = 0x80000930;
    static constexpr Code EUC_KR = 0x80000940;
    static constexpr Code KOI8_R = 0x80000A02;
    static constexpr Code Big5 = 0x80000A03;

    static bool isSupported(Code code);

    // The encoding a charset name stands for (letter case and surrounding white space ignored, common
    // aliases such as "utf8", "latin1" and "cp936" included); nothing for an unknown name.
    [[nodiscard]] static std::optional<Code> fromIANACharsetName(std::string_view name);
    // The preferred IANA name, lower case ("utf-8", "iso-8859-1", "gb18030"); empty for an unknown code.
    static std::string ianaCharsetName(Code code);

    // Bytes in `code` to a UTF-8 text; nothing when the bytes are not valid in that encoding or the code
    // is unknown.
    [[nodiscard]] static std::optional<std::string> decode(std::span<const uint8_t> bytes, Code code);
    [[nodiscard]] static std::optional<std::string> decode(std::string_view bytes, Code code)
    {
        return decode(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), code);
    }

    // A UTF-8 text to bytes in `code`. Without `lossy`, a character the encoding cannot hold gives
    // nothing; with it, such a character becomes "?". A text that is not valid UTF-8 always gives nothing.
    [[nodiscard]] static std::optional<std::vector<uint8_t>> encode(
        std::string_view text, Code code, bool lossy = false);
};

} // namespace base
