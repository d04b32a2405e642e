# Tests that run Windows programs under Wine. They share one Wine session per
# run (prefix, display, stand-in server), set up and removed by fixtures, and
# take turns in it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(HARNESS ${CMAKE_SOURCE_DIR}/tests/harness)

add_test(NAME wine.session.start COMMAND ${Python3_EXECUTABLE} ${HARNESS}/session.py start ${CMAKE_BINARY_DIR})
add_test(NAME wine.session.stop COMMAND ${Python3_EXECUTABLE} ${HARNESS}/session.py stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 3000)
set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 600)

function(add_wine_test name)
    add_test(NAME ${name} COMMAND ${ARGN})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine TIMEOUT 1800)
endfunction()

set(WINTEST ${Python3_EXECUTABLE} ${HARNESS}/run_wintest.py ${CMAKE_BINARY_DIR})
add_wine_test(wine.settings_store ${WINTEST} settings_store settings_store_wintest.exe)
add_wine_test(wine.file_md5 ${WINTEST} file_md5 file_md5_wintest.exe)
add_wine_test(wine.install ${WINTEST} install install_wintest.exe {out})
add_wine_test(wine.framework ${WINTEST} framework framework_wintest.exe)
add_wine_test(wine.skin_image ${WINTEST} skin_image skin_image_wintest.exe)
add_wine_test(wine.message_box ${WINTEST} message_box message_box_wintest.exe {shots})
add_wine_test(wine.controls ${WINTEST} controls controls_wintest.exe {shots})
add_wine_test(wine.http_fetch ${WINTEST} http_fetch http_fetch_wintest.exe {root} {log} {out})

foreach(scenario usage_ping uninstall_prompt crash flash_prompt install uninstall update game_window)
    add_wine_test(e2e.${scenario} ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/${scenario}.py
        ${CMAKE_BINARY_DIR})
endforeach()

add_test(NAME client.binary COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/e2e/binary.py ${WIN_BUILD}/Pelux.exe)
# The skin artwork: the committed PNGs are exactly what the generator draws.
add_test(NAME art.skin COMMAND /usr/bin/python3 -m unittest discover -s tools/art -p test_*.py
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
add_test(NAME standin.server COMMAND ${Python3_EXECUTABLE} -m unittest test_server
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tools/standin)
