# The Win32 windows under Wine (or Windows): controls, a whole first run driven by window
# messages, the chart's GDI drawing and the aircraft through the stand-in simulator window.
list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chart_form_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/first_run_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/select_forms_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/small_forms_test.cpp
)
