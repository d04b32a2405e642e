# The host build: native unit tests, and the Windows build as a sub-build whose
# programs the Wine tests run. One ctest run covers everything.
include(CTest)
include(ExternalProject)

foreach(name decimal launch_mode update_throttle http_address md5 skin_geometry flash_version
        version_key self_delete_batch tab_geometry hotkey label_matcher)
    add_executable(${name}_test tests/unit/${name}_test.cpp)
    target_link_libraries(${name}_test PRIVATE logic)
    target_compile_options(${name}_test PRIVATE -Wall -Wextra)
    add_test(NAME unit.${name} COMMAND ${name}_test)
endforeach()

# The shipped client is the 32-bit build. The same sources also build for
# 64-bit Windows: on a kernel without 32-bit support, where 32-bit Wine cannot
# run, the Wine tests run that build under 64-bit Wine instead.
set(WIN_BUILD ${CMAKE_BINARY_DIR}/win)
set(WIN64_BUILD ${CMAKE_BINARY_DIR}/win64)
foreach(arch i686 x86_64)
    if(arch STREQUAL i686)
        set(target windows)
        set(dir ${WIN_BUILD})
    else()
        set(target windows64)
        set(dir ${WIN64_BUILD})
    endif()
    ExternalProject_Add(${target}
        SOURCE_DIR ${CMAKE_SOURCE_DIR}
        BINARY_DIR ${dir}
        CMAKE_GENERATOR Ninja
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
            -DCMAKE_BUILD_TYPE=MinSizeRel
        INSTALL_COMMAND ""
        BUILD_ALWAYS TRUE
        USES_TERMINAL_BUILD TRUE)
endforeach()

include(cmake/wine-tests.cmake)
