# The Windows build: the client and the Windows test programs.
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
add_compile_options(-Wall -Wextra -ffunction-sections -fdata-sections)
# Statically linked: the program needs nothing beside Windows' own DLLs.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

add_library(framework STATIC
    framework/button.cpp
    framework/dialog.cpp
    framework/win_app.cpp
    framework/wnd.cpp)
target_include_directories(framework PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(framework PUBLIC ole32 comctl32)

add_library(appcore STATIC
    app/app_paths.cpp
    app/crash_dump.cpp
    app/file_md5.cpp
    app/flash_check.cpp
    app/http_fetch.cpp
    app/install.cpp
    app/pending_steps.cpp
    app/prgs_dlg.cpp
    app/self_delete.cpp
    app/settings_store.cpp
    app/shortcuts.cpp
    app/usage_ping.cpp
    skin/btn_ex.cpp
    skin/dlg_ex.cpp
    skin/gdiplus_scope.cpp
    skin/message_box.cpp
    skin/img_progress.cpp
    skin/skin_image.cpp
    skin/static_ex.cpp)
target_link_libraries(appcore PUBLIC framework logic wininet gdiplus shell32 shlwapi ole32 oleaut32 uuid comctl32 msimg32)

add_library(gamewnd STATIC
    gamewnd/add_acc_dlg.cpp
    gamewnd/game_tabs.cpp
    gamewnd/hotkeys.cpp
    gamewnd/instance_link.cpp
    gamewnd/velmor3_dlg.cpp)
target_link_libraries(gamewnd PUBLIC appcore)

# The application object lives in the executable so that the linker keeps it.
add_executable(Pelux WIN32 framework/app_entry.cpp app/velmor3_app.cpp app/self_update.cpp res/app.rc res/skin.rc res/dialogs.rc)
target_link_libraries(Pelux PRIVATE gamewnd)
target_link_options(Pelux PRIVATE -mwindows -municode)

# Test programs, run under Wine by the host build's tests.
foreach(name settings_store http_fetch file_md5 install crash)
    add_executable(${name}_wintest tests/win/${name}_wintest.cpp)
    target_link_libraries(${name}_wintest PRIVATE appcore)
endforeach()
add_executable(skin_image_wintest tests/win/skin_image_wintest.cpp tests/win/skin_image_wintest.rc res/skin.rc)
target_link_libraries(skin_image_wintest PRIVATE appcore)
add_executable(message_box_wintest tests/win/message_box_wintest.cpp res/skin.rc res/dialogs.rc)
target_link_libraries(message_box_wintest PRIVATE appcore)
add_executable(controls_wintest tests/win/controls_wintest.cpp res/skin.rc)
target_link_libraries(controls_wintest PRIVATE appcore)
add_executable(framework_wintest tests/win/framework_wintest.cpp tests/win/framework_wintest.rc)
target_link_libraries(framework_wintest PRIVATE framework)
add_executable(record_open WIN32 tests/win/record_open.cpp)
target_link_options(record_open PRIVATE -mwindows -municode)
add_executable(keepalive WIN32 tests/win/keepalive.cpp)
target_link_options(keepalive PRIVATE -mwindows -municode)
add_executable(answer_box tests/win/answer_box.cpp)
target_link_options(answer_box PRIVATE -municode)
add_executable(show_message tests/win/show_message.cpp res/skin.rc res/dialogs.rc)
target_link_libraries(show_message PRIVATE appcore)
target_link_options(show_message PRIVATE -municode)
add_executable(read_link tests/win/read_link.cpp)
target_link_libraries(read_link PRIVATE ole32 uuid)
target_link_options(read_link PRIVATE -municode)
# Stand-ins and probes for the end-to-end tests of the primary game window.
add_executable(fake_login WIN32 tests/win/fake_login.cpp)
target_include_directories(fake_login PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(fake_login PRIVATE -mwindows -municode)
add_executable(game_probe tests/win/game_probe.cpp)
target_include_directories(game_probe PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(game_probe PRIVATE -municode)
