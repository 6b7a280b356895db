// The plain dictionary against the standard library's hash map with text keys: building from decoded-style
// pairs and looking up keys of reply-like length.
#include "base/values/Dictionary.h"

#include <benchmark/benchmark.h>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

std::vector<std::string> makeKeys(size_t count, size_t length)
{
    std::vector<std::string> keys;
    for (size_t i = 0; i < count; ++i) {
        std::string key = "field" + std::to_string(i);
        key.resize(std::max(length, key.size()), 'x');
        keys.push_back(key);
    }
    return keys;
}

struct Input {
    const char* name;
    size_t count;
    size_t keyLength;
};

constexpr Input inputs[] = { { "8keys", 8, 10 }, { "64keys", 64, 12 }, { "1024keys", 1024, 24 } };

void lookupOurs(benchmark::State& state, Input input)
{
    auto keys = makeKeys(input.count, input.keyLength);
    base::Dictionary::Pairs pairs;
    for (size_t i = 0; i < keys.size(); ++i)
        pairs.emplace_back(keys[i], static_cast<int64_t>(i));
    auto dictionary = base::Dictionary::make(std::move(pairs));
    for (auto _ : state)
        for (const std::string& key : keys)
            benchmark::DoNotOptimize(dictionary->objectForKey(key));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * keys.size()));
}

void lookupStl(benchmark::State& state, Input input)
{
    auto keys = makeKeys(input.count, input.keyLength);
    std::unordered_map<std::string, base::Value> map;
    for (size_t i = 0; i < keys.size(); ++i)
        map.emplace(keys[i], static_cast<int64_t>(i));
    for (auto _ : state)
        for (const std::string& key : keys)
            benchmark::DoNotOptimize(map.find(key));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * keys.size()));
}

void buildOurs(benchmark::State& state, Input input)
{
    auto keys = makeKeys(input.count, input.keyLength);
    for (auto _ : state) {
        base::Dictionary::Pairs pairs;
        pairs.reserve(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            pairs.emplace_back(keys[i], static_cast<int64_t>(i));
        benchmark::DoNotOptimize(base::Dictionary::make(std::move(pairs)));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * keys.size()));
}

void buildStl(benchmark::State& state, Input input)
{
    auto keys = makeKeys(input.count, input.keyLength);
    for (auto _ : state) {
        std::unordered_map<std::string, base::Value> map;
        map.reserve(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            map.emplace(keys[i], static_cast<int64_t>(i));
        benchmark::DoNotOptimize(map);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * keys.size()));
}

const bool registered = [] {
    for (const Input& input : inputs) {
        std::string suffix = std::string("/") + input.name;
        benchmark::RegisterBenchmark(("DictionaryLookup/ours" + suffix).c_str(), lookupOurs, input);
        benchmark::RegisterBenchmark(("DictionaryLookup/stl" + suffix).c_str(), lookupStl, input);
        benchmark::RegisterBenchmark(("DictionaryBuild/ours" + suffix).c_str(), buildOurs, input);
        benchmark::RegisterBenchmark(("DictionaryBuild/stl" + suffix).c_str(), buildStl, input);
    }
    return true;
}();

} // namespace
