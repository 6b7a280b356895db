// base::Exception: the platform's raised exceptions (range, invalid argument, inconsistency, allocation),
// thrown only where the design raises one. Ordinary failures return empty results instead.
//
//   throw base::Exception(base::Exception::RangeException, "*** -[JSONArray objectAtIndex:]: index (3) beyond bounds (2)");
#pragma once

#include <stdexcept>
#include <string>

namespace base {

class Exception : public std::runtime_error {
public:
    static constexpr const char* RangeException = "RangeException";
    static constexpr const char* InvalidArgumentException = "InvalidArgumentException";
    static constexpr const char* InternalInconsistencyException = "InternalInconsistencyException";
    static constexpr const char* MallocException = "MallocException";
    static constexpr const char* GenericException = "GenericException";

    Exception(std::string name, std::string reason)
        : std::runtime_error(reason)
        , m_name(std::move(name))
        , m_reason(std::move(reason))
    {
    }
    const std::string& name() const { return m_name; }
    const std::string& reason() const { return m_reason; }

private:
    std::string m_name;
    std::string m_reason;
};

} // namespace base
