# Fails when any object file of the logic holds a fused multiply-add: the
# listed values must not depend on whether a compiler contracted a*b+c into
# one rounding, in the Lagrange loop's AVX2 and AVX-512 versions included.
# Run as: cmake -DOBJDUMP=... -DOBJECTS=a.o|b.o|... -P no_fma.cmake
string(REPLACE "|" ";" objects "${OBJECTS}")
foreach(object IN LISTS objects)
  execute_process(COMMAND "${OBJDUMP}" -d "${object}" OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${object}")
  endif()
  string(REGEX MATCH "[ \t]vfn?m(add|sub)[0-9a-z]*[ \t]" fused "${listing}")
  if(fused)
    message(FATAL_ERROR "${object} contains ${fused}")
  endif()
endforeach()
