list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/aircraft_symbol.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aircraft_tracking.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aircraft_trail.cpp
  ${CMAKE_CURRENT_LIST_DIR}/airspace_drawing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_hit_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_layers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_projection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing_limits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nearest_airports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_motion.cpp
)
