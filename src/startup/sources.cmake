list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/data_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_check.cpp
)
