#include "core/Singleton.h"

namespace core {

Singleton& Singleton::shared()
{
    static Singleton instance;
    return instance;
}

} // namespace core
