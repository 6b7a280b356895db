#include "base/values/StringReference.h"

namespace base {

const std::string& StringReference::emptyText()
{
    static const std::string empty;
    return empty;
}

} // namespace base
