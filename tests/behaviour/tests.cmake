list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/first_run_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/selection_behaviour_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_behaviour_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_moving_map_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_tables_test.cpp
)
