# Writes OUTPUT, a header defining VANTREL_REVISION: REVISION when given, else the source tree's
# git revision ("+" when its files differ from it), else "unknown". Run at every build, so
# --version names the revision the program was built from, not the one of the last configure;
# the header changes (and main.cpp is compiled again) only when the revision does.
if(NOT REVISION)
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --short=12 HEAD
            WORKING_DIRECTORY "${SOURCE_DIR}" OUTPUT_VARIABLE REVISION
            OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
        if(failed)
            set(REVISION "")
        else()
            execute_process(COMMAND "${GIT_EXECUTABLE}" diff --quiet HEAD --
                WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE changed ERROR_QUIET)
            if(changed)
                string(APPEND REVISION "+")
            endif()
        endif()
    endif()
endif()
if(NOT REVISION)
    set(REVISION "unknown")
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "#define VANTREL_REVISION \"${REVISION}\"\n" @ONLY)
