# The assets test reads the committed files under resources/ from disk. A
# Windows build runs under Wine, which shows the Linux root as drive Z:.
if(TARGET unit_tests)
  if(WIN32)
    set(GLIMMORA_RESOURCES_PATH "Z:${CMAKE_SOURCE_DIR}/resources")
  else()
    set(GLIMMORA_RESOURCES_PATH "${CMAKE_SOURCE_DIR}/resources")
  endif()
  target_compile_definitions(unit_tests PRIVATE GLIMMORA_RESOURCES_DIR="${GLIMMORA_RESOURCES_PATH}")
endif()
