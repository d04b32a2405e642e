# The host build: native unit tests, and the Windows build as a sub-build whose
# programs the Wine tests run. One ctest run covers everything.
include(CTest)
include(ExternalProject)

foreach(name decimal launch_mode update_throttle http_address md5)
    add_executable(${name}_test tests/unit/${name}_test.cpp)
    target_link_libraries(${name}_test PRIVATE logic)
    target_compile_options(${name}_test PRIVATE -Wall -Wextra)
    add_test(NAME unit.${name} COMMAND ${name}_test)
endforeach()

set(WIN_BUILD ${CMAKE_BINARY_DIR}/win)
ExternalProject_Add(windows
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${WIN_BUILD}
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
        -DCMAKE_BUILD_TYPE=MinSizeRel
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    USES_TERMINAL_BUILD TRUE)

include(cmake/wine-tests.cmake)
