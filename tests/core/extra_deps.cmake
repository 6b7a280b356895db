# Readers and web calls are tested on real replies of the local tracking service, started in-process.
target_link_libraries(${lib}_tests PRIVATE tracking_service)
