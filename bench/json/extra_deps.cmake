# Peers of the JSON benchmark: RapidJSON (header-only), simdjson, nlohmann::json; zlib reads the inputs.
find_package(RapidJSON REQUIRED)
find_package(simdjson CONFIG REQUIRED)
find_package(nlohmann_json REQUIRED)
find_package(ZLIB REQUIRED)
target_include_directories(bench_json PRIVATE ${RAPIDJSON_INCLUDE_DIRS})
target_link_libraries(bench_json PRIVATE simdjson::simdjson nlohmann_json::nlohmann_json ZLIB::ZLIB)
