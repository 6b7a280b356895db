// A pass key: only the decoder can make one, so only the decoder can construct JSONArray and JSONDictionary
// (their constructors are public for std::make_shared, but unusable without it).
#pragma once

namespace json {

class JSONParser;

class JSONDecoderKey {
    friend class JSONParser;
    JSONDecoderKey() = default;
};

} // namespace json
