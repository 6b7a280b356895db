# The differential test reads the same documents with nlohmann::json.
find_package(nlohmann_json REQUIRED)
target_link_libraries(${lib}_tests PRIVATE nlohmann_json::nlohmann_json)
