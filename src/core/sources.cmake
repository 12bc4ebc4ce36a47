list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/large_block.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mapped_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_1252.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wine_prefix.cpp
)
