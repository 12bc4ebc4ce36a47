list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/native_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/large_block.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mapped_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_1252.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wine_prefix.cpp
)
# The file layer's platform half: the system's own calls on Windows, POSIX elsewhere.
if(WIN32)
  list(APPEND ENGINE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_win32.cpp)
else()
  list(APPEND ENGINE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_posix.cpp)
endif()
