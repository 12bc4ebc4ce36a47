list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/damaged_world_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/damaged_data_files_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fuzz_findings_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/walk_bounds_test.cpp
)
# Write failures are made with Linux mounts.
if(NOT WIN32)
  list(APPEND TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/safe_write_test.cpp)
endif()
# The damaged world is also built by the real orvane-tool, through a POSIX shell.
if(NOT WIN32)
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/damaged_world_test.cpp APPEND PROPERTY
    COMPILE_DEFINITIONS "ORVANE_TOOL_PATH=\"$<TARGET_FILE:orvane-tool>\"")
  # The test program is made after this list is read.
  cmake_language(DEFER CALL add_dependencies orvane_tests orvane-tool)
endif()
