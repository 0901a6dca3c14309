# The engine's test fakes: the recording GL table and the fake GL context,
# used by the unit tests and (the recorder) by the GL tests.
if(TARGET unit_tests)
  target_sources(unit_tests PRIVATE
    ${CMAKE_SOURCE_DIR}/tests/fakes/RecordingGL.cpp
    ${CMAKE_SOURCE_DIR}/tests/fakes/FakeGLContext.cpp)
endif()
if(TARGET gl_tests)
  target_sources(gl_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/fakes/RecordingGL.cpp)
endif()
