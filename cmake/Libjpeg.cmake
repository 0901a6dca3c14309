# libjpeg (libjpeg-turbo), linked into the portable library (gl/GLUtils
# decodes the JPEG textures).
#
#   Linux     the system's libjpeg-turbo (libjpeg-dev).
#   fuzz      libjpeg-turbo built with the fuzzing flags from Debian's source
#             package by tools/setup.d/20-libjpeg-fuzz.sh into
#             build/deps/libjpeg-fuzz/, linked statically.
#   Windows   libjpeg-turbo cross-compiled from Debian's source package by
#             tools/setup.d/10-libjpeg-mingw.sh into
#             build/deps/libjpeg-<triple>/, linked statically.
#
# Defines the target glimmora_jpeg.

if(WIN32)
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
elseif(GLIMMORA_FUZZ)
  set(GLIMMORA_JPEG_DIR ${CMAKE_SOURCE_DIR}/build/deps/libjpeg-fuzz)
  if(NOT EXISTS ${GLIMMORA_JPEG_DIR}/lib/libjpeg.a OR NOT EXISTS ${GLIMMORA_JPEG_DIR}/include/jpeglib.h)
    message(FATAL_ERROR
      "libjpeg for the fuzz targets is missing (${GLIMMORA_JPEG_DIR}).\n"
      "Run tools/install-deps.sh: it builds libjpeg-turbo with the fuzzing flags.")
  endif()
  add_library(glimmora_jpeg STATIC IMPORTED)
  set_target_properties(glimmora_jpeg PROPERTIES
    IMPORTED_LOCATION ${GLIMMORA_JPEG_DIR}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${GLIMMORA_JPEG_DIR}/include)
else()
  find_package(JPEG REQUIRED)
  add_library(glimmora_jpeg INTERFACE)
  target_link_libraries(glimmora_jpeg INTERFACE JPEG::JPEG)
endif()
