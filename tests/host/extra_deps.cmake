# The snapshot test writes its pictures into the build folder, for people to look at.
target_compile_definitions(host_tests PRIVATE LUMET_SNAPSHOT_DIR="${CMAKE_BINARY_DIR}/snapshots")
