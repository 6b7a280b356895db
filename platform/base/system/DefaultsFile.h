// base::DefaultsFile: the file format of the user defaults, our own typed binary form that keeps every kind
// of Value apart (null, bool, signed and unsigned integers, double, string, data, date, array, dictionary).
//
//   "LDEF" | format version (1 byte, 1) | payload length (4 bytes) | CRC-32 of the payload (4 bytes) | payload
//
// The payload is one dictionary value. A value is a kind byte followed by its body: 'n' null, 'f' false,
// 't' true (no body); 'i' signed and 'u' unsigned 64-bit integer, 'r' double, 'D' date (seconds since
// 1970 as a double), each 8 bytes; 's' string (valid UTF-8) and 'b' data, a 4-byte length and the bytes;
// 'a' array, a 4-byte count and the values; 'o' dictionary, a 4-byte count and key-value pairs of values.
// Numbers are little-endian. Reading is strict and bounded: anything else (a short or long file, a bad
// checksum, an unknown kind, nesting deeper than 64) reads as nothing. Pure functions; any thread.
//
//   std::string bytes = base::DefaultsFile::write(*dictionary);
//   base::DictionaryRef back = base::DefaultsFile::read(bytes); // null when the bytes are not a defaults file
#pragma once

#include "base/values/Dictionary.h"

#include <string>
#include <string_view>

namespace base {

class DefaultsFile {
public:
    static std::string write(const Dictionary& values);
    static DictionaryRef read(std::string_view bytes);
    // The payload alone (what follows the header), for readers that checked the header themselves.
    static DictionaryRef readPayload(std::string_view payload);

    static constexpr int maxDepth = 64;
};

} // namespace base
