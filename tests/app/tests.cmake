list(APPEND TEST_SOURCES
  ${PROJECT_SOURCE_DIR}/src/app/drawing_json.cpp
  ${PROJECT_SOURCE_DIR}/src/app/json_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/json_text_test.cpp
)
# The programs' command lines, run for real through a POSIX shell.
if(NOT WIN32)
  list(APPEND TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/command_line_test.cpp)
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/command_line_test.cpp APPEND PROPERTY
    COMPILE_DEFINITIONS "ORVANE_TOOL_PATH=\"$<TARGET_FILE:orvane-tool>\""
                        "ORVANE_SIM_PATH=\"$<TARGET_FILE:orvane-sim>\""
                        # Pictures and pages come from the toolkit's module, built with the GUI.
                        "ORVANE_TOOL_WRITES_PDF=$<BOOL:${ORVANE_GUI}>")
  # The test program is made after this list is read.
  cmake_language(DEFER CALL add_dependencies orvane_tests orvane-sim orvane-tool)
endif()
