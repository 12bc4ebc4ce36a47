list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/bgl_image_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/geo_math_test.cpp
)
