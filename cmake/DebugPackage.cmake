# Run by cpack once the packages are built (CPACK_POST_BUILD_SCRIPTS): mends the debug-symbols package.
foreach(file IN LISTS CPACK_PACKAGE_FILES)
    if(file MATCHES "-dbgsym_[^/]*\\.ddeb$")
        execute_process(COMMAND sh "${CMAKE_CURRENT_LIST_DIR}/repair-dbgsym.sh" "${file}" RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR "the debug-symbols package ${file} could not be mended")
        endif()
    endif()
endforeach()
