list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/scenery_writer_test.cpp
)
