list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/aircraft_symbol.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aircraft_tracking.cpp
  ${CMAKE_CURRENT_LIST_DIR}/airspace_drawing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_layers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_projection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagram_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagram_geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagram_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagram_painter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/label_placement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing_limits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recording_canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/svg_canvas.cpp
)
