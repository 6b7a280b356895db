#include "base/text/TextEncoding.h"

#include "base/text/UTF8.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <iconv.h>
#include <initializer_list>

namespace base {

namespace {

    struct EncodingEntry {
        TextEncoding::Code code;
        // iconv's names for reading and for writing; they differ where a superset reads what peers
        // label with the narrower name (GB2312-labelled texts often carry GBK characters).
        const char* decoderName;
        const char* encoderName;
        // The first name is the preferred one.
        std::initializer_list<const char*> names;
    };

    const EncodingEntry encodingTable[] = {
        { TextEncoding::ASCII, "ASCII", "ASCII", { "us-ascii", "ascii", "ansi_x3.4-1968", "iso646-us", "us" } },
        { TextEncoding::JapaneseEUC, "EUC-JP", "EUC-JP", { "euc-jp", "eucjp", "x-euc-jp" } },
        { TextEncoding::UTF8, "UTF-8", "UTF-8", { "utf-8", "utf8", "unicode-1-1-utf-8" } },
        { TextEncoding::ISOLatin1, "ISO-8859-1", "ISO-8859-1",
            { "iso-8859-1", "iso8859-1", "iso_8859-1", "latin1", "l1", "iso-ir-100", "cp819", "ibm819" } },
        { TextEncoding::ShiftJIS, "CP932", "CP932",
            { "shift_jis", "shift-jis", "sjis", "x-sjis", "ms_kanji", "cp932", "windows-31j" } },
        { TextEncoding::ISOLatin2, "ISO-8859-2", "ISO-8859-2",
            { "iso-8859-2", "iso8859-2", "iso_8859-2", "latin2", "l2" } },
        { TextEncoding::Unicode, "UTF-16LE", "UTF-16LE", { "utf-16", "utf16" } },
        { TextEncoding::WindowsCP1251, "CP1251", "CP1251", { "windows-1251", "cp1251" } },
        { TextEncoding::WindowsCP1252, "CP1252", "CP1252", { "windows-1252", "cp1252" } },
        { TextEncoding::WindowsCP1253, "CP1253", "CP1253", { "windows-1253", "cp1253" } },
        { TextEncoding::WindowsCP1254, "CP1254", "CP1254", { "windows-1254", "cp1254" } },
        { TextEncoding::WindowsCP1250, "CP1250", "CP1250", { "windows-1250", "cp1250" } },
        { TextEncoding::ISO2022JP, "ISO-2022-JP", "ISO-2022-JP", { "iso-2022-jp", "csiso2022jp" } },
        { TextEncoding::MacOSRoman, "MACINTOSH", "MACINTOSH", { "macintosh", "mac", "macroman", "x-mac-roman" } },
        { TextEncoding::UTF16BigEndian, "UTF-16BE", "UTF-16BE", { "utf-16be" } },
        { TextEncoding::UTF16LittleEndian, "UTF-16LE", "UTF-16LE", { "utf-16le" } },
        { TextEncoding::UTF32, "UTF-32LE", "UTF-32LE", { "utf-32", "utf32" } },
        { TextEncoding::UTF32BigEndian, "UTF-32BE", "UTF-32BE", { "utf-32be" } },
        { TextEncoding::UTF32LittleEndian, "UTF-32LE", "UTF-32LE", { "utf-32le" } },
        { TextEncoding::ISOLatin9, "ISO-8859-15", "ISO-8859-15", { "iso-8859-15", "iso8859-15", "latin-9", "latin9" } },
        { TextEncoding::GBK, "GBK", "GBK", { "gbk", "cp936", "windows-936", "ms936" } },
        { TextEncoding::GB18030, "GB18030", "GB18030", { "gb18030" } },
        { TextEncoding::EUC_CN, "GBK", "EUC-CN",
            { "gb2312", "euc-cn", "euccn", "x-euc-cn", "csgb2312", "gb_2312-80" } },
        { TextEncoding::EUC_KR, "EUC-KR", "EUC-KR", { "euc-kr", "euckr", "ks_c_5601-1987" } },
        { TextEncoding::KOI8_R, "KOI8-R", "KOI8-R", { "koi8-r", "koi8r" } },
        { TextEncoding::Big5, "BIG5", "BIG5", { "big5", "big-5", "cn-big5", "csbig5", "x-x-big5" } },
    };

    const EncodingEntry* entryFor(TextEncoding::Code code)
    {
        for (const auto& entry : encodingTable)
            if (entry.code == code)
                return &entry;
        return nullptr;
    }

    // Byte-order marks of the two encodings that carry one.
    struct ByteOrderMark {
        std::string_view little;
        std::string_view big;
        const char* bigEndianName;
    };

    const ByteOrderMark* byteOrderMarkFor(TextEncoding::Code code)
    {
        static const ByteOrderMark utf16 { std::string_view("\xFF\xFE", 2), std::string_view("\xFE\xFF", 2),
            "UTF-16BE" };
        static const ByteOrderMark utf32 { std::string_view("\xFF\xFE\0\0", 4), std::string_view("\0\0\xFE\xFF", 4),
            "UTF-32BE" };
        if (code == TextEncoding::Unicode)
            return &utf16;
        if (code == TextEncoding::UTF32)
            return &utf32;
        return nullptr;
    }

    class Converter {
    public:
        Converter(const char* to, const char* from)
            : m_handle(iconv_open(to, from))
        {
        }
        ~Converter()
        {
            if (isOpen())
                iconv_close(m_handle);
        }
        Converter(const Converter&) = delete;
        Converter& operator=(const Converter&) = delete;

        bool isOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

        // Converts all of `input`; an unconvertible character fails the conversion unless `substitute` is
        // given, in which case it is skipped and the substitute (in the source encoding) converted instead.
        std::optional<std::string> convert(std::string_view input, std::string_view substitute = {})
        {
            std::string output;
            char* in = const_cast<char*>(input.data());
            size_t inLeft = input.size();
            while (inLeft > 0) {
                if (!step(in, inLeft, output)) {
                    if (errno != EILSEQ || substitute.empty())
                        return std::nullopt;
                    char* sub = const_cast<char*>(substitute.data());
                    size_t subLeft = substitute.size();
                    if (!step(sub, subLeft, output))
                        return std::nullopt;
                    size_t skipped = 0;
                    // Only the length of the sequence being replaced matters.
                    (void)utf8::decodeNext(std::string_view(in, inLeft), skipped);
                    in += skipped;
                    inLeft -= skipped;
                }
            }
            char* noInput = nullptr;
            size_t noLeft = 0;
            return step(noInput, noLeft, output) ? std::optional(std::move(output)) : std::nullopt;
        }

    private:
        // Converts as much as it can; false with errno set when it stops before the input's end.
        bool step(char*& in, size_t& inLeft, std::string& output)
        {
            char buffer[4096];
            for (;;) {
                char* out = buffer;
                size_t outLeft = sizeof buffer;
                size_t result = iconv(m_handle, in ? &in : nullptr, &inLeft, &out, &outLeft);
                output.append(buffer, out - buffer);
                if (result != static_cast<size_t>(-1))
                    return true;
                if (errno != E2BIG)
                    return false;
            }
        }

        iconv_t m_handle;
    };

    std::string lowercasedTrimmed(std::string_view name)
    {
        const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
        while (!name.empty() && isSpace(name.front()))
            name.remove_prefix(1);
        while (!name.empty() && isSpace(name.back()))
            name.remove_suffix(1);
        std::string lower(name);
        std::transform(lower.begin(), lower.end(), lower.begin(),
            [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
        return lower;
    }

    std::optional<std::string> decodeLatin1(std::span<const uint8_t> bytes)
    {
        std::string text;
        text.reserve(bytes.size());
        for (uint8_t byte : bytes)
            utf8::append(text, byte);
        return text;
    }

} // namespace

bool TextEncoding::isSupported(Code code) { return entryFor(code) != nullptr; }

std::optional<TextEncoding::Code> TextEncoding::fromIANACharsetName(std::string_view name)
{
    std::string wanted = lowercasedTrimmed(name);
    for (const auto& entry : encodingTable)
        for (const char* alias : entry.names)
            if (wanted == alias)
                return entry.code;
    return std::nullopt;
}

std::string TextEncoding::ianaCharsetName(Code code)
{
    const EncodingEntry* entry = entryFor(code);
    return entry ? *entry->names.begin() : "";
}

std::optional<std::string> TextEncoding::decode(std::span<const uint8_t> bytes, Code code)
{
    std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    switch (code) {
    case UTF8:
        return utf8::isValid(view) ? std::optional<std::string>(view) : std::nullopt;
    case ASCII:
        if (std::any_of(bytes.begin(), bytes.end(), [](uint8_t byte) { return byte >= 0x80; }))
            return std::nullopt;
        return std::string(view);
    case ISOLatin1:
        return decodeLatin1(bytes);
    }
    const EncodingEntry* entry = entryFor(code);
    if (!entry)
        return std::nullopt;
    const char* decoderName = entry->decoderName;
    if (const ByteOrderMark* mark = byteOrderMarkFor(code)) {
        if (view.starts_with(mark->big)) {
            decoderName = mark->bigEndianName;
            view.remove_prefix(mark->big.size());
        } else if (view.starts_with(mark->little)) {
            view.remove_prefix(mark->little.size());
        }
    }
    Converter converter("UTF-8", decoderName);
    if (!converter.isOpen())
        return std::nullopt;
    return converter.convert(view);
}

std::optional<std::vector<uint8_t>> TextEncoding::encode(std::string_view text, Code code, bool lossy)
{
    const EncodingEntry* entry = entryFor(code);
    if (!entry || !utf8::isValid(text))
        return std::nullopt;
    std::optional<std::string> converted;
    if (code == UTF8) {
        converted = std::string(text);
    } else {
        Converter converter(entry->encoderName, "UTF-8");
        if (!converter.isOpen())
            return std::nullopt;
        converted = converter.convert(text, lossy ? "?" : "");
    }
    if (!converted)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    if (const ByteOrderMark* mark = byteOrderMarkFor(code))
        bytes.assign(mark->little.begin(), mark->little.end());
    bytes.insert(bytes.end(), converted->begin(), converted->end());
    return bytes;
}

} // namespace base
