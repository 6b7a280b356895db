# The snapshot tests render the widgets with the headless host and write the pictures into the build folder,
# for people to look at.
target_link_libraries(kit_tests PRIVATE host)
target_compile_definitions(kit_tests PRIVATE LUMET_SNAPSHOT_DIR="${CMAKE_BINARY_DIR}/snapshots")
# The media viewer's download tests serve images from an in-process cpp-httplib server.
pkg_check_modules(LUMET_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
target_link_libraries(kit_tests PRIVATE PkgConfig::LUMET_HTTPLIB)
# The picture tests probe the rendered screen with the shared screen probe (its own code needs only the UI).
target_sources(kit_tests PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/support/ScreenProbe.cpp")
