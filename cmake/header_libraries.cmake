# CLI11 (the programs' command lines) and nlohmann/json (orvane-tool's JSON): both header-only,
# from Debian's libcli11-dev and nlohmann-json3-dev. A cross build finds no package of its own
# platform for them, so it takes the host's headers, copied into the build folder: adding the
# host's /usr/include would put its C library's headers before the cross compiler's.
if(NOT CMAKE_CROSSCOMPILING)
  find_package(CLI11 2.1 CONFIG REQUIRED)
  find_package(nlohmann_json 3.11 CONFIG REQUIRED)
  return()
endif()

set(ORVANE_HOST_HEADERS ${PROJECT_BINARY_DIR}/host-headers)
foreach(header CLI/CLI.hpp nlohmann/json.hpp)
  string(MAKE_C_IDENTIFIER ${header} var)
  find_path(ORVANE_HOST_${var} NAMES ${header} PATHS /usr/include
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  get_filename_component(folder ${header} DIRECTORY)
  file(COPY ${ORVANE_HOST_${var}}/${folder} DESTINATION ${ORVANE_HOST_HEADERS})
endforeach()
foreach(target CLI11::CLI11 nlohmann_json::nlohmann_json)
  add_library(${target} INTERFACE IMPORTED)
  target_include_directories(${target} SYSTEM INTERFACE ${ORVANE_HOST_HEADERS})
endforeach()
