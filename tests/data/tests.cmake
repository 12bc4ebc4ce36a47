list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/data_file_check_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_files_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file_test.cpp
)
