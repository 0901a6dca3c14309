# Images and embedded resources.
#
#   libjpeg       Linux: the system's libjpeg-turbo (libjpeg-dev). Windows:
#                 libjpeg-turbo cross-compiled from Debian's source package
#                 by tools/setup.d/10-libjpeg-mingw.sh into
#                 build/deps/libjpeg-<triple>/, linked statically.
#   glimmora_embed_resources(TARGET FILE...)
#                 embeds files into a program under their resource names
#                 (file name, first "." -> "_", upper case): a .rc script on
#                 Windows, a generated table on Linux.
#
# The texture loaders (gl/GLUtils) reach the resources through the
# platform's CreateModuleResources, so the portable library also depends on
# the platform library (a cycle of two static libraries, which CMake links
# by repeating them).

if(WIN32)
  enable_language(RC)
  set(GLIMMORA_JPEG_TRIPLE "${GLIMMORA_MINGW_TRIPLE}")
  if(NOT GLIMMORA_JPEG_TRIPLE)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
      set(GLIMMORA_JPEG_TRIPLE x86_64-w64-mingw32)
    else()
      set(GLIMMORA_JPEG_TRIPLE i686-w64-mingw32)
    endif()
  endif()
  set(GLIMMORA_JPEG_DIR ${CMAKE_SOURCE_DIR}/build/deps/libjpeg-${GLIMMORA_JPEG_TRIPLE})
  if(NOT EXISTS ${GLIMMORA_JPEG_DIR}/lib/libjpeg.a OR NOT EXISTS ${GLIMMORA_JPEG_DIR}/include/jpeglib.h)
    message(FATAL_ERROR
      "libjpeg for ${GLIMMORA_JPEG_TRIPLE} is missing (${GLIMMORA_JPEG_DIR}).\n"
      "Run tools/install-deps.sh: it cross-compiles libjpeg-turbo from Debian's source package.")
  endif()
  add_library(glimmora_jpeg STATIC IMPORTED)
  set_target_properties(glimmora_jpeg PROPERTIES
    IMPORTED_LOCATION ${GLIMMORA_JPEG_DIR}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${GLIMMORA_JPEG_DIR}/include)
  target_link_libraries(glimmora_portable PUBLIC glimmora_jpeg)
else()
  find_package(JPEG REQUIRED)
  target_link_libraries(glimmora_portable PUBLIC JPEG::JPEG)
  # Debian's interpreter first; any python3 runs the generator.
  find_program(GLIMMORA_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(GLIMMORA_PYTHON3 NAMES python3 REQUIRED)
endif()
target_link_libraries(glimmora_portable PUBLIC glimmora_platform)

# The resource name of a file: its name without directory, the first "."
# replaced by "_", in upper case (names compare without regard to case).
function(glimmora_resource_name FILE OUT)
  get_filename_component(N "${FILE}" NAME)
  string(FIND "${N}" "." DOT)
  if(DOT GREATER_EQUAL 0)
    string(SUBSTRING "${N}" 0 ${DOT} HEAD)
    math(EXPR REST "${DOT} + 1")
    string(SUBSTRING "${N}" ${REST} -1 TAIL)
    set(N "${HEAD}_${TAIL}")
  endif()
  string(TOUPPER "${N}" N)
  set(${OUT} "${N}" PARENT_SCOPE)
endfunction()

# rkBitmap for .bmp files, rkWave for RIFF WAVE files (by content, as the
# sound has no extension), rkRawData for everything else.
function(glimmora_resource_kind FILE OUT)
  get_filename_component(EXT "${FILE}" LAST_EXT)
  string(TOLOWER "${EXT}" EXT)
  file(READ "${FILE}" HEAD LIMIT 12 HEX)
  if(EXT STREQUAL ".bmp")
    set(${OUT} rkBitmap PARENT_SCOPE)
  elseif(EXT STREQUAL ".wav" OR HEAD MATCHES "^52494646........57415645$")
    set(${OUT} rkWave PARENT_SCOPE)
  else()
    set(${OUT} rkRawData PARENT_SCOPE)
  endif()
endfunction()

function(glimmora_embed_resources TARGET)
  get_property(COUNT TARGET ${TARGET} PROPERTY GLIMMORA_RESOURCE_BATCHES)
  if(NOT COUNT)
    set(COUNT 0)
  endif()
  math(EXPR COUNT "${COUNT} + 1")
  set_property(TARGET ${TARGET} PROPERTY GLIMMORA_RESOURCE_BATCHES ${COUNT})
  get_property(SEEN TARGET ${TARGET} PROPERTY GLIMMORA_RESOURCE_NAMES)

  set(GEN_DIR ${CMAKE_BINARY_DIR}/resources)
  set(RC_LINES)
  set(ARGS)
  set(FILES)
  foreach(F IN LISTS ARGN)
    get_filename_component(F "${F}" ABSOLUTE)
    glimmora_resource_name("${F}" NAME)
    # The resource script takes names as bare words (windres joins a quoted
    # name to the file name before it), and a leading digit makes a number.
    if(NOT NAME MATCHES "^[A-Z_][A-Z0-9_.-]*$" OR F MATCHES "[\";$<>]")
      message(FATAL_ERROR "${F}: the resource name ${NAME} cannot be written in a resource script")
    endif()
    # Each kind is its own name space, but one name per file keeps the
    # lookup by file name unambiguous.
    if(NAME IN_LIST SEEN)
      message(FATAL_ERROR "${F}: ${TARGET} already embeds a resource named ${NAME}")
    endif()
    list(APPEND SEEN ${NAME})
    glimmora_resource_kind("${F}" KIND)
    if(KIND STREQUAL "rkBitmap")
      set(RC_TYPE BITMAP)
    elseif(KIND STREQUAL "rkWave")
      set(RC_TYPE WAVE)
    else()
      set(RC_TYPE RCDATA)
    endif()
    list(APPEND RC_LINES "${NAME} ${RC_TYPE} \"${F}\"")
    list(APPEND ARGS ${NAME} ${KIND} ${F})
    list(APPEND FILES ${F})
  endforeach()
  set_property(TARGET ${TARGET} PROPERTY GLIMMORA_RESOURCE_NAMES ${SEEN})
  if(NOT FILES)
    return()
  endif()

  if(WIN32)
    # One script per program: the linker does not merge several resource
    # sections reliably. Later calls add their lines to the same script.
    set(RC ${GEN_DIR}/${TARGET}.rc)
    set_property(TARGET ${TARGET} APPEND PROPERTY GLIMMORA_RC_LINES ${RC_LINES})
    set_property(SOURCE ${RC} APPEND PROPERTY OBJECT_DEPENDS ${FILES})
    if(COUNT EQUAL 1)
      file(GENERATE OUTPUT ${RC} CONTENT
        "// Generated by glimmora_embed_resources (cmake/parts/images.cmake).\n$<JOIN:$<TARGET_PROPERTY:${TARGET},GLIMMORA_RC_LINES>,\n>\n")
      set_source_files_properties(${RC} PROPERTIES GENERATED TRUE)
      target_sources(${TARGET} PRIVATE ${RC})
    endif()
  else()
    set(CPP ${GEN_DIR}/${TARGET}_${COUNT}.cpp)
    add_custom_command(OUTPUT ${CPP}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${GEN_DIR}
      COMMAND ${GLIMMORA_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/embed_resources.py ${CPP} ${ARGS}
      DEPENDS ${FILES} ${CMAKE_SOURCE_DIR}/tools/embed_resources.py
      COMMENT "Embedding resources of ${TARGET} (${COUNT})"
      VERBATIM)
    target_sources(${TARGET} PRIVATE ${CPP})
  endif()
endfunction()
