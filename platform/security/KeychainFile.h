// The keychain file's format: the store's items as text, one item a line between a header and a trailer
// that counts the items, so that a cut or altered file is recognised and never half read.
//
//   lumet-keychain 1
//   item svce=com.example acct=ann pdmn=ak sync=0 v_Data=secret%21
//   end 1
//
// Each field is key=value; values are percent-encoded (every byte outside A-Z a-z 0-9 - . _ ~ is %XX).
// Optional fields (labl, agrp) appear only when set. Pure functions, usable on any thread.
//
//   std::string text = security::KeychainFile::encode(items);
//   if (auto read = security::KeychainFile::decode(bytes)) use(*read); else keepAside();
#pragma once

#include "security/KeychainItem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace security {

class KeychainFile {
public:
    static std::string encode(const std::vector<KeychainItem>& items);
    // The items of a well-formed file, or nothing when the text is not one (wrong header, a malformed or
    // duplicated field, a missing required field, a text attribute that is not UTF-8, an unknown
    // accessibility value, two items of one identity, a missing or wrong trailer, anything after it).
    [[nodiscard]] static std::optional<std::vector<KeychainItem>> decode(std::string_view text);
};

} // namespace security
