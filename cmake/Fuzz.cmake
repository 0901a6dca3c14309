# libFuzzer targets (the `fuzz` preset: clang, -fsanitize=fuzzer-no-link,
# address and undefined on every file; the fuzz targets link the fuzzer's
# own main). Each target links the layer it reads with (and so the layers
# below it) only, plus the system's core backends where it reads the
# module's resources; none links SDL, X11 or EGL.
#
#   NAME      tests/fuzz/NAME.cpp, seeds in tests/fuzz/corpus/BASE/ and
#             tokens in tests/fuzz/BASE.dict (BASE: NAME without "Fuzz")
#
# CTest replays every target over its committed seeds (ctest --preset
# fuzz); tools/fuzz.sh NAME SECONDS runs one for longer.

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (cmake --preset fuzz)")
endif()
enable_testing()

function(glimmora_fuzz_target NAME)
  add_executable(${NAME} ${CMAKE_SOURCE_DIR}/tests/fuzz/${NAME}.cpp)
  target_include_directories(${NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${NAME} PRIVATE ${ARGN})
  target_link_options(${NAME} PRIVATE -fsanitize=fuzzer)
  string(REGEX REPLACE "Fuzz$" "" BASE ${NAME})
  add_test(NAME fuzz_${BASE} COMMAND ${NAME} -runs=0 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${BASE})
endfunction()

glimmora_fuzz_target(File3DMFuzz glimmora_model)
# The frame list's target brings its own module resources (an in-memory
# table of frame files).
glimmora_fuzz_target(FrameListFuzz glimmora_model)
glimmora_fuzz_target(JPEGFuzz glimmora_gl ${GLIMMORA_PLATFORM_CORE})
# The tuning file read from a file per input and applied to the settings.
glimmora_fuzz_target(TuningFileFuzz glimmora_scene)
glimmora_fuzz_target(LinuxCommandLineFuzz glimmora_app_linux)
# The screen saver's run mode and parent window from its command line.
glimmora_fuzz_target(SaverCommandLineFuzz glimmora_app_saver)
# A 3DM text read and converted to primitives, materials and textures.
glimmora_fuzz_target(Convert3DMFuzz glimmora_model)
# The saver's options from registry values of any type and size.
glimmora_fuzz_target(RegistryOptionsFuzz glimmora_app_options)
# The Linux options file read, saved with one option changed and read again.
glimmora_fuzz_target(OptionsFileFuzz glimmora_app_options)
# The system's password flag: raw registry data of any type, decoded as
# the password services decode it and read as the component reads it.
glimmora_fuzz_target(PasswordFlagFuzz glimmora_app_saver)
