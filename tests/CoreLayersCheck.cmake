# The include check of the core's layers, tried on a small tree of its own:
# it passes includes that go down and fails one that climbs back up, naming
# the file, and a folder nobody declared.
#   cmake -DCHECK=<CheckCoreLayers.cmake> -DWORK=<scratch dir> -P CoreLayersCheck.cmake
set(layers "base:base formats:formats,base")
file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/base/Bytes.h "#pragma once\n")
file(WRITE ${WORK}/formats/Jam.cpp "#include \"base/Bytes.h\"\n#include \"formats/Jam.h\"\n#include <vector>\n")

execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} "-DLAYERS=${layers}" -P ${CHECK}
                RESULT_VARIABLE result ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "includes that go down were refused:\n${output}")
endif()

file(WRITE ${WORK}/base/Bytes.cpp "#include \"base/Bytes.h\"\n  #  include \"formats/Jam.h\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} "-DLAYERS=${layers}" -P ${CHECK}
                RESULT_VARIABLE result ERROR_VARIABLE output)
if(result EQUAL 0 OR NOT output MATCHES "core/base/Bytes.cpp")
    message(FATAL_ERROR "an include from base up into formats was not refused:\n${output}")
endif()

file(REMOVE ${WORK}/base/Bytes.cpp)
file(WRITE ${WORK}/extras/Helper.h "#pragma once\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} "-DLAYERS=${layers}" -P ${CHECK}
                RESULT_VARIABLE result ERROR_VARIABLE output)
if(result EQUAL 0 OR NOT output MATCHES "extras/ is not a declared")
    message(FATAL_ERROR "an undeclared core folder was not refused:\n${output}")
endif()
