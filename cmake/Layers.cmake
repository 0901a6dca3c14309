# The layers: one library per layer, each linking only the layers below it,
# and a check that fails the build when a file includes from a layer its
# library does not link.
#
#   glimmora_layer(NAME ROOMS room... [SOURCES file...] [LINKS item...]
#                  [SYSTEM item...])
#       A STATIC library NAME of the SOURCES (paths under src/); with no
#       SOURCES an INTERFACE library (headers only). ROOMS are its folders
#       under src/ (gl, app/options, platform/linux). LINKS are the layers
#       below it (and other libraries), linked PUBLIC. The layer sees its own
#       rooms and every room its LINKS see; tools/check-layers.py reads the
#       #include "..." lines of its sources and of the headers in its rooms,
#       and an include from a room it does not see fails the build
#       ("src/scene/Scene.cpp:3 includes app/options/Options.h: scene may
#       not include app/options").
#
# The check runs as the custom target NAME_layers, which the library waits
# for; it runs again when a checked file changes.

if(NOT GLIMMORA_LAYERS_PYTHON3)
  find_program(GLIMMORA_LAYERS_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(GLIMMORA_LAYERS_PYTHON3 NAMES python3 REQUIRED)
endif()
set(GLIMMORA_LAYERS_CHECKER ${CMAKE_CURRENT_LIST_DIR}/../tools/check-layers.py)
get_filename_component(GLIMMORA_LAYERS_CHECKER ${GLIMMORA_LAYERS_CHECKER} ABSOLUTE)
if(NOT GLIMMORA_LAYERS_SRC)
  set(GLIMMORA_LAYERS_SRC ${CMAKE_SOURCE_DIR}/src)
endif()

function(glimmora_layer NAME)
  cmake_parse_arguments(L "" "" "ROOMS;SOURCES;LINKS" ${ARGN})
  set(SRC ${GLIMMORA_LAYERS_SRC})
  string(REGEX REPLACE "^glimmora_" "" LABEL ${NAME})

  # What the layer sees: its rooms, then what each linked layer sees.
  set(SEEN ${L_ROOMS})
  foreach(LINK IN LISTS L_LINKS)
    get_property(BELOW GLOBAL PROPERTY GLIMMORA_LAYER_SEES_${LINK})
    list(APPEND SEEN ${BELOW})
  endforeach()
  list(REMOVE_DUPLICATES SEEN)
  set_property(GLOBAL PROPERTY GLIMMORA_LAYER_SEES_${NAME} ${SEEN})

  set(SOURCES)
  foreach(S IN LISTS L_SOURCES)
    list(APPEND SOURCES ${SRC}/${S})
  endforeach()
  # The headers are checked too; they are found, not listed, so a new
  # header needs no line here.
  set(HEADERS)
  foreach(ROOM IN LISTS L_ROOMS)
    file(GLOB H CONFIGURE_DEPENDS ${SRC}/${ROOM}/*.h)
    list(APPEND HEADERS ${H})
  endforeach()

  if(SOURCES)
    add_library(${NAME} STATIC ${SOURCES})
    target_include_directories(${NAME} PUBLIC ${SRC})
    target_link_libraries(${NAME} PUBLIC ${L_LINKS})
  else()
    add_library(${NAME} INTERFACE)
    target_include_directories(${NAME} INTERFACE ${SRC})
    target_link_libraries(${NAME} INTERFACE ${L_LINKS})
  endif()

  set(STAMP ${CMAKE_BINARY_DIR}/layers/${NAME}.checked)
  add_custom_command(OUTPUT ${STAMP}
    COMMAND ${GLIMMORA_LAYERS_PYTHON3} ${GLIMMORA_LAYERS_CHECKER} --src ${SRC} --layer ${LABEL}
            --stamp ${STAMP} --allow ${SEEN} -- ${SOURCES} ${HEADERS}
    DEPENDS ${GLIMMORA_LAYERS_CHECKER} ${SOURCES} ${HEADERS}
    COMMENT "Checking the includes of ${NAME}"
    VERBATIM)
  if(SOURCES)
    add_custom_target(${NAME}_layers DEPENDS ${STAMP})
    add_dependencies(${NAME} ${NAME}_layers)
  else()
    # Nothing is built for a header-only layer: its check is part of "all".
    add_custom_target(${NAME}_layers ALL DEPENDS ${STAMP})
  endif()
endfunction()
