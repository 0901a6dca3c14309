# OpenGL engine: the portable loader (src/gl/OpenGL12.cpp) loads libraries
# through the platform seam, and the seam's GL context backend links the
# system's context library.
target_link_libraries(glimmora_portable PUBLIC glimmora_platform)
if(WIN32)
  # wglCreateContext, wglDeleteContext, wglMakeCurrent are linked directly.
  target_link_libraries(glimmora_platform PUBLIC opengl32)
else()
  find_library(GLIMMORA_EGL_LIBRARY NAMES EGL REQUIRED)
  target_link_libraries(glimmora_platform PUBLIC ${GLIMMORA_EGL_LIBRARY})
endif()
