// core::isSafeFileName: whether a file name that came from outside (a server's message, a download address)
// may name a file inside one of our folders: not empty, not "." or "..", without "/" or NUL, at most 255
// bytes. Anything else could reach outside the folder or fail at the file system. Any thread.
//
//   if (!core::isSafeFileName(name)) return false;
//   auto path = folder / name;
#pragma once

#include <string_view>

namespace core {

bool isSafeFileName(std::string_view name);

} // namespace core
