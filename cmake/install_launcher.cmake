# Run at install time (after install(CODE) has set orvane_source and the folder names): writes
# the desktop menu's launcher and the desktop entry that names it, with the prefix being
# installed to.
set(orvane_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(ORVANE_INSTALLED_BIN "${CMAKE_INSTALL_PREFIX}/${orvane_bindir}")
set(ORVANE_INSTALLED_LAUNCHER "${CMAKE_INSTALL_PREFIX}/${orvane_libexecdir}/orvane/orvane-desktop")
set(launcher "${orvane_root}/${orvane_libexecdir}/orvane/orvane-desktop")
set(entry "${orvane_root}/${orvane_datadir}/applications/orvane.desktop")
message(STATUS "Installing: ${launcher}")
configure_file("${orvane_source}/data/orvane-desktop.in" "${launcher}" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
message(STATUS "Installing: ${entry}")
configure_file("${orvane_source}/data/orvane.desktop.in" "${entry}" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
