# A headless run is tested on the executable itself, started as a child process.
add_dependencies(${lib}_tests lumet-companion)
target_compile_definitions(${lib}_tests PRIVATE LUMET_COMPANION_PATH="$<TARGET_FILE:lumet-companion>")
