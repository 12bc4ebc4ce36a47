list(APPEND TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/link_client_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/relay_guard_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/relay_test.cpp
)
# End to end over the Linux transport, against the stand-in simulator.
if(NOT WIN32)
  list(APPEND TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/linux_link_test.cpp)
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/linux_link_test.cpp APPEND PROPERTY
    COMPILE_DEFINITIONS "ORVANE_SIM_PATH=\"$<TARGET_FILE:orvane-sim>\""
                        "ORVANE_TOOL_PATH=\"$<TARGET_FILE:orvane-tool>\"")
  # The test program is made after this list is read.
  cmake_language(DEFER CALL add_dependencies orvane_tests orvane-sim orvane-tool)
else()
  # End to end over the window messages, against the stand-in simulator window.
  # The test finds tools/win_sim_window.exe from its own folder, as a Windows path.
  list(APPEND TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_link_test.cpp)
  cmake_language(DEFER CALL add_dependencies orvane_tests win_sim_window)
endif()
