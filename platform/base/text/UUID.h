// base::makeUUID: a new random identifier (version 4) as upper-case text in the 8-4-4-4-12 form, for names
// that must not collide (files, request identifiers). Independent of base::Random, so a seeded test never
// makes two equal identifiers. Any thread.
//
//   std::string name = base::makeUUID() + ".amr";   // "3F2504E0-4F89-41D3-9A0C-0305E82C3301.amr"
#pragma once

#include <string>

namespace base {

std::string makeUUID();

} // namespace base
