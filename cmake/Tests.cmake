# The tests, run by CTest (see README.md, "Tests").
#
#   unit_tests    tests/unit with the fakes of tests/fakes; natively every
#                 case is its own CTest test, under Wine one run of the whole
#                 program (avoids starting Wine once per case), named after
#                 the build: unit_tests_win64, unit_tests_win32
#   gl_tests      tests/gl on the headless EGL backend (Linux only)
#   assets        tools/assets/check_assets.py: the committed assets are what
#                 their generators make (Linux only)
#   layers_checker, layers_build   the include check of cmake/Layers.cmake
#                 (tests/layers; Linux only)
#   glimmora3d_program   the Linux program run as a user runs it
#   glimmora3d_package   the Debian package (cpack) and cmake --install
#   win probes    tests/win/programs/NAME.cpp, small Windows programs that
#                 tests/win/NAME_test.sh drives under Wine in Xvfb, for each
#                 Windows build: win64_NAME (64-bit Windows), win32_NAME (the
#                 32-bit build on 64-bit Windows, from SysWOW64) and, for the
#                 saver test, win32_NAME_pure32 (32-bit Windows)

enable_testing()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# GoogleTest from Debian's source package builds for every target.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES}
  ${CMAKE_SOURCE_DIR}/tests/fakes/RecordingGL.cpp
  ${CMAKE_SOURCE_DIR}/tests/fakes/FakeGLContext.cpp)
target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
# The system's core backends only: on Linux no SDL, X11 or EGL.
target_link_libraries(unit_tests PRIVATE glimmora_portable ${GLIMMORA_PLATFORM_CORE} GTest::gtest_main GTest::gmock)
# GoogleTest's headers cost every test file seconds to parse: they are
# parsed once per test program instead.
target_precompile_headers(unit_tests PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
# The assets test reads the committed files under resources/ from disk, the
# options test the manual page and the XScreenSaver settings under
# packaging/. A Windows build runs under Wine, which shows the Linux root as
# drive Z:.
if(WIN32)
  target_compile_definitions(unit_tests PRIVATE GLIMMORA_RESOURCES_DIR="Z:${CMAKE_SOURCE_DIR}/resources"
                             GLIMMORA_PACKAGING_DIR="Z:${CMAKE_SOURCE_DIR}/packaging")
else()
  target_compile_definitions(unit_tests PRIVATE GLIMMORA_RESOURCES_DIR="${CMAKE_SOURCE_DIR}/resources"
                             GLIMMORA_PACKAGING_DIR="${CMAKE_SOURCE_DIR}/packaging")
endif()
glimmora_embed_resources(unit_tests ${GLIMMORA_FIXTURE_FILES})
glimmora_embed_resources(unit_tests ${GLIMMORA_ASSET_FILES})
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(GLIMMORA_WIN_BUILD win64)
  else()
    set(GLIMMORA_WIN_BUILD win32)
  endif()
  add_test(NAME unit_tests_${GLIMMORA_WIN_BUILD} COMMAND unit_tests)
  set_tests_properties(unit_tests_${GLIMMORA_WIN_BUILD} PROPERTIES LABELS ${GLIMMORA_WIN_BUILD} TIMEOUT 600)
else()
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
endif()

if(NOT WIN32)
  file(GLOB GL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gl/*.cpp)
  add_executable(gl_tests ${GL_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fakes/RecordingGL.cpp)
  target_include_directories(gl_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(gl_tests PRIVATE glimmora_portable glimmora_headless glimmora_platform_core
                        GTest::gtest_main GTest::gmock)
  target_precompile_headers(gl_tests PRIVATE <gtest/gtest.h>)
  # The image fixtures, and the real assets the scene's pixel tests draw.
  glimmora_embed_resources(gl_tests ${GLIMMORA_FIXTURE_FILES})
  glimmora_embed_resources(gl_tests ${GLIMMORA_ASSET_FILES})
  gtest_discover_tests(gl_tests DISCOVERY_TIMEOUT 60)

  add_test(NAME assets COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/assets/check_assets.py
           WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
  # The include check: tools/check-layers.py on small trees, and the
  # project's build refusing a wrong-way include in a copy of the tree.
  add_test(NAME layers_checker COMMAND ${GLIMMORA_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/layers/check_layers_test.py)
  add_test(NAME layers_build
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/layers/layers_build_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_COMMAND})
  set_tests_properties(layers_build PROPERTIES TIMEOUT 300)
  # The unit tests run on the system's core backends alone.
  add_test(NAME unit_tests_backends
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/layers/unit_tests_links_test.sh $<TARGET_FILE:unit_tests>
                   ${CMAKE_BINARY_DIR}/CMakeFiles/unit_tests.dir/link.txt)
  add_test(NAME glimmora3d_program
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/linux/glimmora3d_test.sh $<TARGET_FILE:glimmora3d>)
  # The program on a screen, under its own Xvfb: window, full screen,
  # foreign window, sound, options file.
  add_executable(test_x_window ${CMAKE_SOURCE_DIR}/tests/linux/TestWindow.cpp)
  target_link_libraries(test_x_window PRIVATE ${GLIMMORA_X11_LIBRARY})
  foreach(T window fullscreen foreign sound options)
    add_test(NAME glimmora3d_screen_${T}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/linux/screen_test.sh ${T} $<TARGET_FILE:glimmora3d>
                     $<TARGET_FILE:test_x_window>)
    set_tests_properties(glimmora3d_screen_${T} PROPERTIES TIMEOUT 180)
  endforeach()
  # cpack and cmake --install over the build: the .deb and its files.
  add_test(NAME glimmora3d_package COMMAND bash ${CMAKE_SOURCE_DIR}/tests/linux/package_test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(glimmora3d_package PROPERTIES TIMEOUT 300)
  # The Windows program's icon is what its script makes, byte for byte.
  add_test(NAME program_icon COMMAND bash -c
    "T=$(mktemp -d) && trap 'rm -rf $T' EXIT && '${GLIMMORA_PYTHON3}' '${CMAKE_SOURCE_DIR}/tools/assets/make_icon.py' $T/icon.ico >/dev/null && cmp $T/icon.ico '${CMAKE_SOURCE_DIR}/resources/program/Glimmora3D.ico'")
else()
  foreach(N GLProbe HarnessProbe PreviewHost PreviewPictureProbe)
    add_executable(${N} WIN32 ${CMAKE_SOURCE_DIR}/tests/win/programs/${N}.cpp)
    target_include_directories(${N} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${N} PRIVATE glimmora_portable glimmora_platform_win32)
  endforeach()
  # The preview probe runs the saver on the program's own backends.
  target_link_libraries(PreviewPictureProbe PRIVATE glimmora_win32_saver)
  # Lists a window's controls (texts, places, states, values) for the
  # window-level tests; a console program, so its list goes to stdout.
  add_executable(WindowProbe ${CMAKE_SOURCE_DIR}/tests/win/programs/WindowProbe.cpp)
  target_compile_options(WindowProbe PRIVATE -municode)
  target_link_options(WindowProbe PRIVATE -municode -static)
  # The settings dialog's windows on their own: a console program that
  # prints what the window reports. It carries the product's manifest
  # (common controls 6, per-monitor DPI awareness).
  set(DEMO_RC ${CMAKE_BINARY_DIR}/resources/SettingsWindowDemo.rc)
  file(WRITE ${DEMO_RC} "1 24 \"${GLIMMORA_MANIFEST_FILE}\"\n")
  add_executable(SettingsWindowDemo ${CMAKE_SOURCE_DIR}/tests/win/programs/SettingsWindowDemo.cpp ${DEMO_RC})
  set_property(SOURCE ${DEMO_RC} APPEND PROPERTY OBJECT_DEPENDS ${GLIMMORA_MANIFEST_FILE})
  target_compile_options(SettingsWindowDemo PRIVATE -municode)
  target_link_options(SettingsWindowDemo PRIVATE -municode)
  target_link_libraries(SettingsWindowDemo PRIVATE glimmora_portable glimmora_platform_win32)
  # The preview picture probe runs the saver's /p path in its own process
  # and shows the program's still picture: it embeds that bitmap.
  glimmora_embed_resources(PreviewPictureProbe ${CMAKE_SOURCE_DIR}/resources/Background.bmp)
  # A password service for the password tests, installed as the system's
  # PASSWORD.CPL. Its entry is exported undecorated in either build.
  add_library(PasswordCpl SHARED ${CMAKE_SOURCE_DIR}/tests/win/programs/PasswordCpl.cpp)
  set_target_properties(PasswordCpl PROPERTIES PREFIX "" OUTPUT_NAME "PASSWORD" SUFFIX ".CPL")
  target_link_options(PasswordCpl PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--kill-at)
  # Libraries planted beside the saver under the names of system ones; each
  # leaves NAME.loaded beside itself when it is loaded.
  foreach(N GLU32 OPENGL32 WINMM)
    add_library(Planted${N} SHARED ${CMAKE_SOURCE_DIR}/tests/win/programs/PlantedLibrary.cpp)
    # The names as the system spells them: GLU32.DLL, OPENGL32.dll, WINMM.dll.
    set(SUFFIX ".dll")
    if(N STREQUAL "GLU32")
      set(SUFFIX ".DLL")
    endif()
    set_target_properties(Planted${N} PROPERTIES PREFIX "" OUTPUT_NAME "${N}" SUFFIX "${SUFFIX}"
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
    target_link_options(Planted${N} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--kill-at)
  endforeach()
  # Every window-level test runs against this build; the 32-bit build also
  # runs the saver test on 32-bit Windows.
  file(GLOB WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.sh)
  foreach(T IN LISTS WIN_TESTS)
    get_filename_component(N ${T} NAME_WE)
    set(WINDOWS_KINDS ${GLIMMORA_WINE_WINDOWS})
    if(GLIMMORA_WIN_BUILD STREQUAL "win32" AND N STREQUAL "saver_test")
      list(APPEND WINDOWS_KINDS win32)
    endif()
    foreach(K IN LISTS WINDOWS_KINDS)
      set(TN ${GLIMMORA_WIN_BUILD}_${N})
      if(K STREQUAL "win32")
        set(TN ${TN}_pure32)
      endif()
      add_test(NAME ${TN} COMMAND bash ${T})
      set_tests_properties(${TN} PROPERTIES
        ENVIRONMENT "GLIMMORA_BUILD=${CMAKE_BINARY_DIR};GLIMMORA_SOURCE=${CMAKE_SOURCE_DIR};GLIMMORA_WINDOWS=${K}"
        LABELS "${GLIMMORA_WIN_BUILD};${K}" RESOURCE_LOCK xvfb TIMEOUT 300)
    endforeach()
  endforeach()
endif()
