# The window behaviours: what each window does on each event, without a toolkit. They sit above
# the engine and below the views, which link them; the engine never includes them.
set(BEHAVIOUR_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chart_behaviour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_moving_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nearest_behaviour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/preferences_behaviour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/selection_behaviour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_behaviour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_behaviour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_picture.cpp
)
