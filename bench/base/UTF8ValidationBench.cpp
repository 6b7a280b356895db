// The check that a text is well-formed UTF-8, beside simdjson's: on the service's replies of about 64 KB in
// ASCII, with Chinese names in a sixth of the bytes, and in Chinese text. "ours" is the check isValid uses on
// this processor; "ours-<validator>" runs each validator the processor can run, so that every path is measured
// whichever one isValid picks.
#include "ReplyTexts.h"
#include "base/text/UTF8.h"
#include "base/text/UTF8Validation.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

namespace {

using Check = bool (*)(const char* bytes, size_t length);

void checkText(benchmark::State& state, const std::string* text, Check check)
{
    for (auto _ : state)
        if (!check(text->data(), text->size()))
            return state.SkipWithError("a valid text was refused");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text->size()));
}

const bool registered = [] {
    for (const bench::ReplyText& reply : bench::replyTexts()) {
        auto add = [&](const std::string& impl, Check check) {
            benchmark::RegisterBenchmark(
                ("UTF8Check/" + impl + "/" + reply.name).c_str(), checkText, &reply.text, check);
        };
        add("ours",
            [](const char* bytes, size_t length) { return base::utf8::isValid(std::string_view(bytes, length)); });
        for (const auto& validator : base::utf8::validation::validators())
            add(std::string("ours-") + validator.name, validator.check);
        add("simdjson", [](const char* bytes, size_t length) { return simdjson::validate_utf8(bytes, length); });
    }
    return true;
}();

} // namespace
