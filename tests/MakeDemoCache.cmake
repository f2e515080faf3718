# Generates the demo installations the tests copy (a full installation takes
# seconds to make; a copy takes milliseconds). Run by ctest before the suites.
file(REMOVE_RECURSE ${OUT})
foreach(combo "v1.00;1;1" "v1.13;2;1" "v1.13-video;3;1" "v1.13;2;2")
    list(GET combo 0 name)
    list(GET combo 1 version)
    list(GET combo 2 seed)
    execute_process(COMMAND ${CLI} make-demo ${OUT}/v${version}-s${seed}.part --game-version ${name} --seed ${seed} --quiet
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "make-demo failed for ${name} seed ${seed}")
    endif()
    file(RENAME ${OUT}/v${version}-s${seed}.part ${OUT}/v${version}-s${seed})
endforeach()
