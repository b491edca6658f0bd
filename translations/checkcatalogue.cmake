# cmake -DLUPDATE=… -DOPTIONS=… -DSOURCES=list-file -DCATALOGUE=… -DWORK=… -P checkcatalogue.cmake
# Gathers the marked texts into a copy of the catalogue and fails where the copy differs.
file(COPY_FILE ${CATALOGUE} ${WORK})
execute_process(COMMAND ${LUPDATE} ${OPTIONS} @${SOURCES} -ts ${WORK}
    OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "lupdate failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${CATALOGUE} ${WORK} RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "The catalogue misses texts the sources mark, or keeps ones they no "
        "longer do: cmake --build build --target update_translations, then fill in the English "
        "the command line needs (diff ${CATALOGUE} ${WORK})")
endif()
