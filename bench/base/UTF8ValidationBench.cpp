// The check that a text is well-formed UTF-8, beside simdjson's: on the service's replies of about 64 KB in
// ASCII, with Chinese names in a sixth of the bytes, and in Chinese text.
#include "ReplyTexts.h"
#include "base/text/UTF8.h"

#include <benchmark/benchmark.h>
#include <simdjson.h>

namespace {

void checkOurs(benchmark::State& state, const std::string* text)
{
    for (auto _ : state)
        if (!base::utf8::isValid(*text))
            return state.SkipWithError("a valid text was refused");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text->size()));
}

void checkSimdjson(benchmark::State& state, const std::string* text)
{
    for (auto _ : state)
        if (!simdjson::validate_utf8(text->data(), text->size()))
            return state.SkipWithError("a valid text was refused");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text->size()));
}

const bool registered = [] {
    for (const bench::ReplyText& reply : bench::replyTexts()) {
        benchmark::RegisterBenchmark((std::string("UTF8Check/ours/") + reply.name).c_str(), checkOurs, &reply.text);
        benchmark::RegisterBenchmark(
            (std::string("UTF8Check/simdjson/") + reply.name).c_str(), checkSimdjson, &reply.text);
    }
    return true;
}();

} // namespace
