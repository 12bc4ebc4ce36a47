list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/airport_detail_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/airport_index_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bgl_image_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_build_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_files_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_system_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/magdec_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scenery_cfg_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_1252_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/geo_math_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/taxi_record_test.cpp
)
# The file layer through the system's own calls on Windows.
if(WIN32)
  list(APPEND TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/file_system_win32_test.cpp)
endif()
