#include "database/StringHash.h"

namespace database {

std::string asciiLowercase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = asciiLower(c);
    return lower;
}

} // namespace database
