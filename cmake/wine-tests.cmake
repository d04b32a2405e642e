# Tests that run Windows programs under Wine. The template prefix is made once
# per run by the wine.prefix fixture; every test copies it into a box of its own.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(HARNESS ${CMAKE_SOURCE_DIR}/tests/harness)

add_test(NAME wine.prefix COMMAND ${Python3_EXECUTABLE} ${HARNESS}/make_prefix.py ${CMAKE_BINARY_DIR})
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 2400)

function(add_wine_test name)
    add_test(NAME ${name} COMMAND ${ARGN})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wineprefix TIMEOUT 1800)
endfunction()

set(WINTEST ${Python3_EXECUTABLE} ${HARNESS}/run_wintest.py ${CMAKE_BINARY_DIR})
add_wine_test(wine.settings_store ${WINTEST} settings_store ${WIN_BUILD}/settings_store_wintest.exe)
add_wine_test(wine.file_md5 ${WINTEST} file_md5 ${WIN_BUILD}/file_md5_wintest.exe)
add_wine_test(wine.framework ${WINTEST} framework ${WIN_BUILD}/framework_wintest.exe)
add_wine_test(wine.http_fetch ${WINTEST} http_fetch ${WIN_BUILD}/http_fetch_wintest.exe
    --server {root} {log} {out})

foreach(scenario usage_ping)
    add_wine_test(e2e.${scenario} ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/${scenario}.py
        ${CMAKE_BINARY_DIR} ${WIN_BUILD}/Pelux.exe)
endforeach()
add_test(NAME client.binary COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/binary.py ${WIN_BUILD}/Pelux.exe)

add_test(NAME standin.server COMMAND ${Python3_EXECUTABLE} -m unittest test_server
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tools/standin)
