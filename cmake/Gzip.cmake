# pitwall_gzip(TARGET INPUT OUTPUT): OUTPUT is INPUT compressed the way Debian
# wants man pages and changelogs (gzip -9 -n: no file name or time inside, so
# the same input gives the same bytes), made by the target TARGET.
find_program(PITWALL_GZIP gzip REQUIRED)
function(pitwall_gzip target input output)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${PITWALL_GZIP} -9 -n -c ${input} > ${output}
        DEPENDS ${input})
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
