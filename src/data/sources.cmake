# The program's three data files (the settings, the airport database, the airspace file list):
# their names, their records and how they are written, read, checked at start and removed.
list(APPEND ENGINE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chart_style_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_file_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_file_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_file_removal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/database_files.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_file.cpp
)
