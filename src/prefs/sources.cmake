list(APPEND ENGINE_SOURCES
)
list(APPEND WINDOW_SOURCES ${CMAKE_CURRENT_LIST_DIR}/about_window.cpp
                           ${CMAKE_CURRENT_LIST_DIR}/preferences_window.cpp)
