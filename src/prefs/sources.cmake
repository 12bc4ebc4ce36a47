list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/preferences_behaviour.cpp
)
