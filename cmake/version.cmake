# The program's version: the project version, plus the git description when
# built from a checkout ("0.1+7d554fa", "0.1+3.g7d554fa.dirty" after tag v0.1).
#
# Included by the top CMakeLists (for the package's version), and run as a
# script at every build to rewrite platform/version.cpp when the checkout moves:
#   cmake -DSOURCE_DIR=... -DPROJECT_VERSION=... -DOUTPUT=... -P version.cmake

function(korvex_version source_dir project_version out_var)
    set(version ${project_version})
    find_package(Git QUIET)
    if(GIT_FOUND)
        execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --always --dirty --match "v*"
            WORKING_DIRECTORY ${source_dir} OUTPUT_VARIABLE described
            RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(NOT failed AND NOT described STREQUAL "v${project_version}")
            string(REGEX REPLACE "^v${project_version}-" "" described "${described}")
            string(REPLACE "-" "." described "${described}")
            set(version "${project_version}+${described}")
        endif()
    endif()
    set(${out_var} ${version} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    korvex_version(${SOURCE_DIR} ${PROJECT_VERSION} KORVEX_VERSION)
    file(CONFIGURE OUTPUT ${OUTPUT} CONTENT [[
#include "platform/version.h"

const char* korvex::ProgramVersion() {
    return "@KORVEX_VERSION@";
}
]] @ONLY)
endif()
