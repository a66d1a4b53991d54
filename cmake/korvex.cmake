# korvex_library(NAME DEPS...): a static library of every .cpp in the calling folder.
function(korvex_library name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(sources)
        add_library(${name} STATIC ${sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARGN})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARGN})
    endif()
endfunction()

# korvex_test(NAME LIBS...): one GoogleTest binary of every .cpp in the calling folder.
function(korvex_test name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN} korvex_testkit GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name} PRIVATE KORVEX_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    # Compiled in batches of files: each file alone re-generates the same
    # GoogleTest and header code, which made the tests over half the build.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${name})
endfunction()
