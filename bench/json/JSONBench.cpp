// Decode and encode throughput of our JSON codec beside RapidJSON, simdjson (decode only) and nlohmann::json,
// on the generated service replies in inputs/ (see generate_inputs.py). Every case processes all documents of
// one input per iteration and reports the input's bytes per second.
#include "json/JSONDecoder.h"
#include "json/JSONSerializer.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <simdjson.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Input {
    std::string name;
    std::vector<std::string> documents;
    // The same documents as bytes for our decoder and with simdjson's padding, copied once when the inputs are
    // read, so that no decode case counts a copy.
    std::vector<base::Data> data;
    std::vector<simdjson::padded_string> padded;
    int64_t bytes { 0 };
};

std::vector<std::string> readLines(const std::string& path)
{
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file) {
        std::fprintf(stderr, "cannot open %s (run bench/json/generate_inputs.py)\n", path.c_str());
        std::exit(1);
    }
    std::string all;
    char buffer[1 << 16];
    int n;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0)
        all.append(buffer, static_cast<size_t>(n));
    gzclose(file);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(all.substr(start, end - start));
    return lines;
}

const std::vector<Input>& inputs()
{
    static const std::vector<Input> loaded = [] {
        std::vector<Input> result;
        for (const char* name : { "device", "messages", "timetable", "phonebook", "mixed" }) {
            Input input { name, readLines(std::string(LUMET_BENCH_DIR) + "/inputs/" + name + ".jsonl.gz"), {}, {}, 0 };
            for (const std::string& document : input.documents) {
                input.bytes += static_cast<int64_t>(document.size());
                // From bytes of the same type, so that the copy is one memcpy and not a loop over converted chars.
                auto bytes = reinterpret_cast<const uint8_t*>(document.data());
                input.data.emplace_back(bytes, bytes + document.size());
                input.padded.emplace_back(document);
            }
            result.push_back(std::move(input));
        }
        return result;
    }();
    return loaded;
}

void fail(benchmark::State& state, const Input& input)
{
    state.SkipWithError(("a document of " + input.name + " failed").c_str());
}

void decodeOurs(benchmark::State& state, const Input& input)
{
    for (auto _ : state) {
        for (const base::Data& document : input.data) {
            auto root = json::objectFromJSONData(document);
            if (!root)
                return fail(state, input);
            benchmark::DoNotOptimize(root);
        }
    }
    state.SetBytesProcessed(state.iterations() * input.bytes);
}

void decodeRapidJSON(benchmark::State& state, const Input& input)
{
    for (auto _ : state) {
        for (const std::string& document : input.documents) {
            rapidjson::Document root;
            root.Parse(document.data(), document.size());
            if (root.HasParseError())
                return fail(state, input);
            benchmark::DoNotOptimize(root);
        }
    }
    state.SetBytesProcessed(state.iterations() * input.bytes);
}

void decodeSimdjson(benchmark::State& state, const Input& input)
{
    simdjson::dom::parser parser;
    for (auto _ : state) {
        for (const simdjson::padded_string& document : input.padded) {
            auto root = parser.parse(document);
            if (root.error())
                return fail(state, input);
            benchmark::DoNotOptimize(root);
        }
    }
    state.SetBytesProcessed(state.iterations() * input.bytes);
}

void decodeNlohmann(benchmark::State& state, const Input& input)
{
    for (auto _ : state) {
        for (const std::string& document : input.documents) {
            auto root = nlohmann::json::parse(document, nullptr, false);
            if (root.is_discarded())
                return fail(state, input);
            benchmark::DoNotOptimize(root);
        }
    }
    state.SetBytesProcessed(state.iterations() * input.bytes);
}

void encodeOurs(benchmark::State& state, const Input& input)
{
    std::vector<base::Value> trees;
    for (const std::string& document : input.documents)
        trees.push_back(*json::objectFromJSONString(document));
    for (auto _ : state) {
        for (const base::Value& tree : trees) {
            auto text = json::JSONString(tree);
            if (!text)
                return fail(state, input);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(state.iterations() * input.bytes);
}

void encodeRapidJSON(benchmark::State& state, const Input& input)
{
    std::vector<std::unique_ptr<rapidjson::Document>> trees;
    for (const std::string& document : input.documents) {
        trees.push_back(std::make_unique<rapidjson::Document>());
        trees.back()->Parse(document.data(), document.size());
    }
    for (auto _ : state) {
        for (const auto& tree : trees) {
            rapidjson::StringBuffer text;
            rapidjson::Writer<rapidjson::StringBuffer> writer(text);
            if (!tree->Accept(writer))
                return fail(state, input);
            benchmark::DoNotOptimize(text.GetString());
        }
    }
    state.SetBytesProcessed(state.iterations() * input.bytes);
}

void encodeNlohmann(benchmark::State& state, const Input& input)
{
    std::vector<nlohmann::json> trees;
    for (const std::string& document : input.documents)
        trees.push_back(nlohmann::json::parse(document));
    for (auto _ : state) {
        for (const nlohmann::json& tree : trees) {
            std::string text = tree.dump();
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(state.iterations() * input.bytes);
}

void registerCases()
{
    using Case = void (*)(benchmark::State&, const Input&);
    const std::pair<const char*, Case> cases[] = {
        { "Decode/ours/", decodeOurs },
        { "Decode/rapidjson/", decodeRapidJSON },
        { "Decode/simdjson/", decodeSimdjson },
        { "Decode/nlohmann/", decodeNlohmann },
        { "Encode/ours/", encodeOurs },
        { "Encode/rapidjson/", encodeRapidJSON },
        { "Encode/nlohmann/", encodeNlohmann },
    };
    for (const Input& input : inputs()) {
        for (const auto& [prefix, run] : cases)
            benchmark::RegisterBenchmark((prefix + input.name).c_str(), run, std::cref(input))
                ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    registerCases();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
