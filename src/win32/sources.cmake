# The Win32 views: the windows as the pilot sees them on Windows. They build their controls,
# forward their events to the window behaviours and carry out what those ask.
set(WIN32_VIEW_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/about_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chart_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gdi_canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/nearest_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/preferences_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/selection_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/splash_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_ui.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_windows.cpp
)
