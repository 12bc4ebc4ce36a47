# Every engine source is compiled without contracted floating point, so no compiler fuses a
# multiply and an add in the chart's left-to-right formulas. Reads the build's compile commands.
#   cmake -DCOMMANDS=compile_commands.json -P check_fp_contract.cmake
file(READ "${COMMANDS}" commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
set(checked 0)
foreach(i RANGE ${last})
  string(JSON source GET "${commands}" ${i} file)
  string(JSON command GET "${commands}" ${i} command)
  # The object the command writes tells the engine's sources from the same files built elsewhere.
  if(command MATCHES "-o [^ ]*orvane_engine\\.dir/")
    math(EXPR checked "${checked} + 1")
    if(NOT command MATCHES "-ffp-contract=off")
      message(FATAL_ERROR "${source} is compiled with contracted floating point")
    endif()
  endif()
endforeach()
if(checked EQUAL 0)
  message(FATAL_ERROR "no engine source found in ${COMMANDS}")
endif()
message(STATUS "${checked} engine sources compiled without contracted floating point")
