# `cmake --install` and the packages. On Linux a standard layout under the prefix: the programs
# in bin/, the desktop entry and the icon in their freedesktop places, the README and the
# licence under share/doc/orvane; CPack makes a .deb of it. The Windows cross build puts its
# executables, the README and the licence side by side, and CPack makes a .zip.
include(GNUInstallDirs)

# Installing and packing take what was built: the run command builds only the programs, and a
# package should not wait for every test and benchmark to be built first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
  set(ORVANE_BIN_DIR .)
  set(ORVANE_DOC_DIR .)
else()
  set(ORVANE_BIN_DIR ${CMAKE_INSTALL_BINDIR})
  set(ORVANE_DOC_DIR ${CMAKE_INSTALL_DOCDIR})
endif()

foreach(program orvane orvane-tool orvane-relay orvane-sim win_sim_window)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${ORVANE_BIN_DIR})
  endif()
endforeach()
install(FILES README.md LICENSE DESTINATION ${ORVANE_DOC_DIR})
# The module that paints orvane-tool's PNG charts, where the tool looks for it.
if(TARGET orvane_png)
  install(TARGETS orvane_png LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/orvane/modules)
endif()

if(NOT WIN32)
  # What a Debian package holds besides the programs: the relay's wire format, the changelog
  # (compressed as Debian keeps it) and the machine-readable copyright.
  install(FILES docs/RELAY.md DESTINATION ${ORVANE_DOC_DIR})
  set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
  add_custom_command(
    OUTPUT ${changelog}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/debian/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog
    VERBATIM)
  add_custom_target(orvane_changelog ALL DEPENDS ${changelog})
  install(FILES ${changelog} data/debian/copyright DESTINATION ${ORVANE_DOC_DIR})
  # The sanitizer build is for the tests; its programs make no pages.
  if(NOT ORVANE_SANITIZE)
    include(cmake/manual_pages.cmake)
  endif()
endif()

if(TARGET orvane AND NOT WIN32)
  # The menu starts the program through a launcher that gives it a working folder of its own in
  # the user's data folder; the program itself keeps using its working folder. Both files name
  # the installation's own folders, known only when installing (a package installs under /usr).
  install(CODE "
    set(orvane_source \"${PROJECT_SOURCE_DIR}\")
    set(orvane_bindir \"${CMAKE_INSTALL_BINDIR}\")
    set(orvane_libexecdir \"${CMAKE_INSTALL_LIBEXECDIR}\")
    set(orvane_datadir \"${CMAKE_INSTALL_DATADIR}\")")
  install(SCRIPT cmake/install_launcher.cmake)
  install(FILES data/io.github.orvane.Orvane.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES data/icons/orvane.svg DESTINATION ${icons}/scalable/apps)
  foreach(size 48 256)
    install(FILES data/icons/orvane-${size}.png DESTINATION ${icons}/${size}x${size}/apps
            RENAME orvane.png)
  endforeach()
endif()

# The Windows installer, an .msi made by wixl (Debian's msitools) from data/windows/orvane.wxs
# where the build machine has it: cmake --build build-mingw --target orvane_installer. wixl takes
# the files from the folder of the .wxs, so they are gathered in one folder first.
if(WIN32 AND TARGET orvane)
  find_program(WIXL wixl)
  if(WIXL)
    set(stage ${PROJECT_BINARY_DIR}/installer)
    set(ORVANE_INSTALLER ${PROJECT_BINARY_DIR}/orvane-${PROJECT_VERSION}-x64.msi)
    add_custom_target(orvane_installer
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:orvane> $<TARGET_FILE:orvane-tool>
              $<TARGET_FILE:orvane-relay> ${PROJECT_SOURCE_DIR}/data/windows/orvane.wxs
              ${PROJECT_SOURCE_DIR}/data/icons/orvane.ico ${PROJECT_SOURCE_DIR}/README.md
              ${PROJECT_SOURCE_DIR}/LICENSE ${stage}
      COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
              ${WIXL} -a x64 -D Version=${PROJECT_VERSION} -o ${ORVANE_INSTALLER} orvane.wxs
      BYPRODUCTS ${ORVANE_INSTALLER}
      VERBATIM)
    add_dependencies(orvane_installer orvane orvane-tool orvane-relay)
  endif()
endif()

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "The Orvane developers")
set(CPACK_PACKAGE_CONTACT "The Orvane developers <orvane@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Airport charts for Microsoft Flight Simulator 2002")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Orvane reads the scenery that Microsoft Flight Simulator 2002 has installed,\n"
  "builds a database of every airport of the simulator's world once, and draws\n"
  "the chart of the airport the pilot picks: runways, taxiways with their names,\n"
  "gates and parking places, the ILS, and the Class B and C airspace, with the\n"
  "aircraft read once a second through the simulator link (from Wine on the same\n"
  "computer, or through orvane-relay from another).\n"
  "\n"
  "The package holds the desktop program orvane, the command-line companion\n"
  "orvane-tool, the relay orvane-relay and the stand-in simulator orvane-sim.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  # The libraries the programs link (Qt 6, the C++ runtime) found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The PNG module is the tool's private plug-in, not a library others link: no ldconfig.
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
include(CPack)
