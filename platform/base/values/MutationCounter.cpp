#include "base/values/MutationCounter.h"

#include "base/values/Exception.h"

#include <cstdio>

namespace base {

void raiseMutatedWhileEnumerating(const std::string& className, const void* collection)
{
    char address[32];
    std::snprintf(address, sizeof address, "%p", collection);
    throw Exception(Exception::GenericException,
        "*** Collection <" + className + ": " + address + "> was mutated while being enumerated.");
}

} // namespace base
