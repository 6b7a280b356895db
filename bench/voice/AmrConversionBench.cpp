// AMR conversion of one minute of speech-like audio: our conversion (CAF file to AMR file, AMR file to WAVE
// data) beside plain loops over the codec calls on the same samples. "x_realtime" is seconds of audio
// converted per second.
#include "base/system/Log.h"
#include "voice/AmrToWave.h"
#include "voice/PcmToAmr.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <numbers>
#include <opencore-amrnb/interf_dec.h>
#include <opencore-amrnb/interf_enc.h>
#include <vector>

namespace {

constexpr double Seconds = 60;
constexpr size_t SampleRate = 8000;
constexpr size_t BlockSamples = 160;
constexpr size_t FrameBytes = 32;

// Voiced syllables (a gliding pitch with harmonics under a syllable envelope) separated by short noisy gaps.
std::vector<int16_t> speechLike()
{
    std::vector<int16_t> samples(static_cast<size_t>(Seconds * SampleRate));
    uint32_t noise = 12345;
    double phase = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        double t = static_cast<double>(i) / SampleRate;
        double pitch = 140 + 40 * std::sin(2 * std::numbers::pi * 0.7 * t);
        phase += 2 * std::numbers::pi * pitch / SampleRate;
        double syllable = std::max(0.0, std::sin(2 * std::numbers::pi * 2.5 * t));
        double voiced = std::sin(phase) + 0.5 * std::sin(2 * phase) + 0.25 * std::sin(3 * phase);
        noise = noise * 1664525 + 1013904223;
        double hiss = (static_cast<double>(noise >> 16) / 32768.0 - 1) * 0.05;
        samples[i] = static_cast<int16_t>(7000 * (syllable * voiced + hiss));
    }
    return samples;
}

std::vector<uint8_t> littleEndian(const std::vector<int16_t>& samples)
{
    std::vector<uint8_t> bytes(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        bytes[2 * i] = static_cast<uint8_t>(samples[i]);
        bytes[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(samples[i]) >> 8);
    }
    return bytes;
}

void putBigEndian(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The recorder's file: "desc", "free" up to byte 4080, "data" with its edit count, samples from byte 4096.
std::vector<uint8_t> cafFile(const std::vector<uint8_t>& samples)
{
    std::vector<uint8_t> file = { 'c', 'a', 'f', 'f', 0, 1, 0, 0, 'd', 'e', 's', 'c' };
    putBigEndian(file, 32, 8);
    file.resize(file.size() + 32, 0);
    file.insert(file.end(), { 'f', 'r', 'e', 'e' });
    putBigEndian(file, 4080 - 64, 8);
    file.resize(4080, 0);
    file.insert(file.end(), { 'd', 'a', 't', 'a' });
    putBigEndian(file, 4 + samples.size(), 8);
    putBigEndian(file, 0, 4);
    file.insert(file.end(), samples.begin(), samples.end());
    return file;
}

struct Inputs {
    std::vector<int16_t> samples = speechLike();
    std::vector<uint8_t> caf = cafFile(littleEndian(samples));
    base::Data amr = *voice::ConvertCafToAmr(caf, 1, 16);
};

const Inputs& inputs()
{
    static const Inputs shared;
    return shared;
}

void setRates(benchmark::State& state, size_t bytes)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["x_realtime"] = benchmark::Counter(Seconds, benchmark::Counter::kIsIterationInvariantRate);
}

void encodeOurs(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(voice::ConvertCafToAmr(inputs().caf, 1, 16));
    setRates(state, inputs().samples.size() * 2);
}

void encodeOpencore(benchmark::State& state)
{
    const auto& samples = inputs().samples;
    for (auto _ : state) {
        std::vector<uint8_t> amr = { '#', '!', 'A', 'M', 'R', '\n' };
        amr.reserve(6 + samples.size() / BlockSamples * FrameBytes);
        void* encoder = Encoder_Interface_init(0);
        uint8_t frame[FrameBytes];
        for (size_t offset = 0; offset + BlockSamples <= samples.size(); offset += BlockSamples) {
            int written = Encoder_Interface_Encode(encoder, MR122, samples.data() + offset, frame, 0);
            amr.insert(amr.end(), frame, frame + written);
        }
        Encoder_Interface_exit(encoder);
        benchmark::DoNotOptimize(amr);
    }
    setRates(state, samples.size() * 2);
}

void decodeOurs(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(voice::DecodeAmrToWave(inputs().amr));
    setRates(state, inputs().samples.size() * 2);
}

void decodeOpencore(benchmark::State& state)
{
    const auto& amr = inputs().amr;
    size_t frames = (amr.size() - 6) / FrameBytes;
    for (auto _ : state) {
        std::vector<uint8_t> wave(48 + frames * BlockSamples * 2);
        void* decoder = Decoder_Interface_init();
        int16_t pcm[BlockSamples];
        for (size_t i = 0; i < frames; ++i) {
            Decoder_Interface_Decode(decoder, amr.data() + 6 + i * FrameBytes, pcm, 0);
            std::memcpy(wave.data() + 48 + i * sizeof pcm, pcm, sizeof pcm);
        }
        Decoder_Interface_exit(decoder);
        benchmark::DoNotOptimize(wave);
    }
    setRates(state, inputs().samples.size() * 2);
}

const bool registered = [] {
    base::Log::setSink([](std::string_view) {}); // the decoder's per-file frame count
    benchmark::RegisterBenchmark("Encode/ours/speech60s", encodeOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Encode/opencore/speech60s", encodeOpencore)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Decode/ours/speech60s", decodeOurs)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Decode/opencore/speech60s", decodeOpencore)->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
