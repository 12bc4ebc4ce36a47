list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/airport_fetch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/airspace_reader_test.cpp
)
