list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_system_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_1252_test.cpp
)
# The file layer through the system's own calls on Windows.
if(WIN32)
  list(APPEND TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_win32_test.cpp)
endif()
