// media::quietAudioLibraryMessages: keeps the sound system's own diagnostics out of the terminal. The ALSA
// library that SDL's audio driver loads prints several lines to stderr while it probes a machine without a
// sound card; this installs a handler that drops them (the application says once, in its own words, that
// there is no sound). Safe to call any number of times; does nothing where the library is not installed.
// Main thread, before SDL's audio starts.
#pragma once

namespace media {

void quietAudioLibraryMessages();

} // namespace media
