# The product on Windows: Glimmora3D.scr and its twin Glimmora3D.exe (the
# same bytes under the name the run-as-program option starts).
#
#   GUI subsystem, statically linked (no MinGW DLL at run time).
#   Resources: every asset under resources/ (glimmora_embed_resources'
#   script) and the program's own script src/programs/win32/Glimmora3D.rc.in
#   (icon, manifest, string 1 = the name in the system's saver list,
#   version). The version is the project's; the script and the manifest
#   (Glimmora3D.manifest.in) are configured with it. The two scripts are
#   compiled apart and linked together.
#   Needs cmake/EmbeddedResources.cmake (glimmora_embed_resources) first.
#   Does nothing on other systems.

if(NOT WIN32)
  return()
endif()

set(GLIMMORA_PRODUCT_NAME "Glimmora 3D")
set(GLIMMORA_COMPANY "Tarnwick Software")
# The project's version (CMakeLists.txt), with a patch number of 0 when it
# has none.
set(GLIMMORA_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(GLIMMORA_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(GLIMMORA_VERSION_PATCH 0)
if(NOT "${PROJECT_VERSION_PATCH}" STREQUAL "")
  set(GLIMMORA_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
set(GLIMMORA_VERSION "${GLIMMORA_VERSION_MAJOR}.${GLIMMORA_VERSION_MINOR}.${GLIMMORA_VERSION_PATCH}")
set(GLIMMORA_ICON_FILE ${CMAKE_SOURCE_DIR}/resources/program/Glimmora3D.ico)
# The manifest names the version too.
set(GLIMMORA_MANIFEST_FILE ${CMAKE_BINARY_DIR}/resources/Glimmora3D.manifest)
configure_file(${CMAKE_SOURCE_DIR}/src/programs/win32/Glimmora3D.manifest.in ${GLIMMORA_MANIFEST_FILE} @ONLY)

set(GLIMMORA_PROGRAM_RC ${CMAKE_BINARY_DIR}/resources/Glimmora3D.program.rc)
configure_file(${CMAKE_SOURCE_DIR}/src/programs/win32/Glimmora3D.rc.in ${GLIMMORA_PROGRAM_RC} @ONLY)
set_property(SOURCE ${GLIMMORA_PROGRAM_RC} APPEND PROPERTY OBJECT_DEPENDS
             ${GLIMMORA_ICON_FILE} ${GLIMMORA_MANIFEST_FILE})

# The saver's backends, made in one place: the program and the test
# programs that run the saver in a window of their own take them from here.
glimmora_layer(glimmora_win32_saver ROOMS programs/win32
  LINKS glimmora_app_saver glimmora_platform_win32
  SOURCES
    programs/win32/Win32SaverSystem.cpp)

add_executable(Glimmora3D WIN32
  ${CMAKE_SOURCE_DIR}/src/programs/win32/Glimmora3DMain.cpp
  ${GLIMMORA_PROGRAM_RC})
set_target_properties(Glimmora3D PROPERTIES SUFFIX ".scr")
target_link_libraries(Glimmora3D PRIVATE glimmora_win32_saver)
# The product carries no debug information (a debug build keeps it).
target_link_options(Glimmora3D PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s>)

# The assets: the same list the other programs embed (files directly under
# resources/; the icon's folder is not among them).
file(GLOB GLIMMORA_SAVER_ASSETS LIST_DIRECTORIES false CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
list(FILTER GLIMMORA_SAVER_ASSETS EXCLUDE REGEX "/\\.[^/]*$")
list(SORT GLIMMORA_SAVER_ASSETS)
glimmora_embed_resources(Glimmora3D ${GLIMMORA_SAVER_ASSETS})

add_custom_command(TARGET Glimmora3D POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Glimmora3D>
          $<TARGET_FILE_DIR:Glimmora3D>/Glimmora3D.exe
  COMMENT "Glimmora3D.exe: the twin of Glimmora3D.scr"
  VERBATIM)
