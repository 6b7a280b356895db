// base::utf8::validation: the ways this build can check that a text is well-formed UTF-8, one per processor
// feature set. They give the same answers; utf8::isValid uses the fastest one the processor can run, and tests
// run every one of them.
//
//   for (const auto& validator : base::utf8::validation::validators())
//       validator.check(bytes, length);
#pragma once

#include <cstddef>
#include <span>

namespace base::utf8::validation {

struct Validator {
    const char* name;
    bool (*check)(const char* bytes, size_t length);
};

// The validators the processor can run, the fastest first.
std::span<const Validator> validators();

// Byte by byte, passing over runs of ASCII a block at a time: runs everywhere.
bool isValidScalar(const char* bytes, size_t length);
#if defined(__x86_64__)
// 16 (SSSE3) or 32 (AVX2) bytes at a time by table look-ups; only for a processor that has the instructions.
bool isValidSSSE3(const char* bytes, size_t length);
bool isValidAVX2(const char* bytes, size_t length);
#endif

} // namespace base::utf8::validation
