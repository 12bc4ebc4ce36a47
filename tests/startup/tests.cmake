list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/data_files_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_check_test.cpp
)
