// json::fetchContainer: asks the processor for the memory of the container a Value holds (the count of its
// shared handle and its first bytes), without waiting for it. A loop that drops many containers one after
// another calls it for the one ContainersAhead places on, so that each arrives while those before it are
// dropped: a large document's containers lie far apart in its memory and are seldom in the cache by then.
//
//   for (size_t i = 0; i < count; ++i) {
//       if (i + json::ContainersAhead < count)
//           json::fetchContainer(values[i + json::ContainersAhead]);
//       values[i].~Value();
//   }
#pragma once

#include "base/values/Value.h"

#include <cstddef>

namespace json {

inline constexpr size_t ContainersAhead = 4;

inline void fetchContainer(const base::Value& value)
{
    const void* container = nullptr;
    if (value.isDictionary())
        container = value.dictionary().get();
    else if (value.isArray())
        container = value.array().get();
    if (!container)
        return;
    // The handle's counts lie a few words before a container made with its handle (see SharedWithStorage.h),
    // and dropping it reads them and the members of the container, which take about two cache lines.
    const char* start = static_cast<const char*>(container);
    __builtin_prefetch(start - 32, 1);
    __builtin_prefetch(start + 32, 1);
    __builtin_prefetch(start + 96, 1);
}

} // namespace json
