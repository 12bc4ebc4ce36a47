list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/first_run_test.cpp
)
