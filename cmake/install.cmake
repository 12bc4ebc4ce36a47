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
  install(TARGETS orvane_png LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/orvane)
endif()

if(TARGET orvane AND NOT WIN32)
  install(FILES data/orvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES data/icons/orvane.svg DESTINATION ${icons}/scalable/apps)
  foreach(size 48 256)
    install(FILES data/icons/orvane-${size}.png DESTINATION ${icons}/${size}x${size}/apps
            RENAME orvane.png)
  endforeach()
endif()

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "The Orvane developers")
set(CPACK_PACKAGE_CONTACT "The Orvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Airport charts for Microsoft Flight Simulator 2002")
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
endif()
include(CPack)
