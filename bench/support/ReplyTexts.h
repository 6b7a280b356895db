// bench::replyTexts: replies of the tracking service as a benchmark sends or reads them, about 64 KB each:
// device records in ASCII, device records that carry a Chinese name (about a sixth of the bytes), and a
// message of Chinese text. The networking benchmark serves them; the base benchmark checks them as text.
#pragma once

#include <span>
#include <string>

namespace bench {

struct ReplyText {
    // A short name for a case's input.
    const char* name;
    std::string text;
};

// The replies, built once: ASCII records, records with Chinese names, Chinese text.
std::span<const ReplyText> replyTexts();

} // namespace bench
