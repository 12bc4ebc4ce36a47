list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/aircraft_tracking_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/airspace_drawing_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_layers_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_projection_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagram_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/moving_map_test.cpp
)
