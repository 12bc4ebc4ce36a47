# Manual pages of the four programs, made by help2man from each program's own --help and
# --version, with the hand-written sections of data/man/PROGRAM.h2m, compressed as Debian keeps
# them and installed in share/man/man1. Without help2man the build goes on without them.
find_program(HELP2MAN help2man)
if(NOT HELP2MAN)
  message(STATUS "help2man not found: the manual pages are not made")
  return()
endif()

set(orvane_man_names
    orvane "airport charts for Microsoft Flight Simulator 2002"
    orvane-tool "airport charts from the simulator's scenery, without windows"
    orvane-relay "pass the chart's simulator requests from other computers"
    orvane-sim "stand-in simulator for the simulator link")
set(orvane_pages)
while(orvane_man_names)
  list(POP_FRONT orvane_man_names program name)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(include ${PROJECT_SOURCE_DIR}/data/man/${program}.h2m)
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN} --no-info --section=1 --name=${name} --include=${include}
            --output=${page} $<TARGET_FILE:${program}>
    COMMAND gzip -9n -f ${page}
    DEPENDS ${program} ${include}
    VERBATIM)
  list(APPEND orvane_pages ${page}.gz)
endwhile()
add_custom_target(orvane_manual_pages ALL DEPENDS ${orvane_pages})
install(FILES ${orvane_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
