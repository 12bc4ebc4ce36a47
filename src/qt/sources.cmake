# The Qt views: the windows as the pilot sees them on Linux. They build their controls, forward
# their events to the window behaviours and carry out what those ask.
list(APPEND WINDOW_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/about_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nearest_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/preferences_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_icon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qpainter_canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qt_windows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/selection_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_widgets.cpp
)

# Builds data/icons into a target as Qt resources under :/icons.
function(orvane_add_icons target)
  set(icon_dir ${PROJECT_SOURCE_DIR}/data/icons)
  qt_add_resources(${target} orvane_icons PREFIX /icons BASE ${icon_dir}
    FILES ${icon_dir}/orvane-48.png ${icon_dir}/orvane-256.png)
endfunction()
