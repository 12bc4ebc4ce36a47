list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/airport_detail.cpp
  ${CMAKE_CURRENT_LIST_DIR}/airport_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bcd_frequency.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bgl_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_build.cpp
  ${CMAKE_CURRENT_LIST_DIR}/geo_math.cpp
  ${CMAKE_CURRENT_LIST_DIR}/item_match.cpp
  ${CMAKE_CURRENT_LIST_DIR}/magdec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/read_ahead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scan_bgl_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scenery_cfg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/taxi_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/walk_ahead.cpp
)
