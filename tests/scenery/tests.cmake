list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/airport_detail_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/airport_index_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bcd_frequency_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bgl_image_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_build_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/magdec_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scenery_cfg_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/geo_math_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/item_match_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/taxi_record_test.cpp
)
