#include "base/system/FreedMemory.h"

#include <malloc.h>

namespace base {

void returnFreedMemoryToSystem() { malloc_trim(0); }

} // namespace base
