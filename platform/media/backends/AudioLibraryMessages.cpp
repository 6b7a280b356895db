#include "media/backends/AudioLibraryMessages.h"

#include "base/loop/MainThread.h"
#include <dlfcn.h>

namespace media {

namespace {

    using ErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
    using SetErrorHandler = int (*)(ErrorHandler);

    void dropMessage(const char*, int, const char*, int, const char*, ...) { }

} // namespace

void quietAudioLibraryMessages()
{
    BASE_ASSERT_MAIN_THREAD();
    static bool done = false;
    if (done)
        return;
    done = true;
    // The library stays loaded for the process's life: SDL loads the same instance, which keeps the handler.
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!library)
        return;
    if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(library, "snd_lib_error_set_handler")))
        set(dropMessage);
}

} // namespace media
