list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/airspace_reader.cpp
)
