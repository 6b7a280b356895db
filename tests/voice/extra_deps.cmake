# The MP3 recorder's output is checked by decoding it with mpg123.
pkg_check_modules(PC_voice_tests_mpg123 REQUIRED IMPORTED_TARGET libmpg123)
target_link_libraries(voice_tests PRIVATE PkgConfig::PC_voice_tests_mpg123)
