// Parses arbitrary text as a URL, resolves it against a fixed base and against itself, and checks the rules
// the rest of the system relies on: every URL's text reads back as the same URL, and the accessors never fail.
#include "base/text/URL.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void checkRoundTrip(const base::URL& url)
{
    auto again = base::URL::parse(url.absoluteString());
    if (!again || again->absoluteString() != url.absoluteString())
        std::abort();
    (void)url.host();
    (void)url.port();
    (void)url.user();
    (void)url.password();
    (void)url.path();
    (void)url.lastPathComponent();
    (void)url.pathExtension();
    (void)url.isFileURL();
    auto appended = url.appendingPathComponent("a b/c");
    if (!base::URL::parse(appended.absoluteString()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    static const auto base = base::URL::parse("http://a/b/c/d;p?q");
    if (auto url = base::URL::parse(text)) {
        checkRoundTrip(*url);
        if (auto self = base::URL::parse(text, *url))
            checkRoundTrip(*self);
    }
    if (auto resolved = base::URL::parse(text, *base))
        checkRoundTrip(*resolved);
    return 0;
}
