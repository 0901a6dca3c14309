# Embeds the program's assets (every file under resources/) into the
# programs, and the image fixtures plus the assets into the unit tests (the
# GL tests take the fixtures only).
file(GLOB GLIMMORA_ASSET_FILES LIST_DIRECTORIES false CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
list(FILTER GLIMMORA_ASSET_FILES EXCLUDE REGEX "/\\.[^/]*$")
list(SORT GLIMMORA_ASSET_FILES)
file(GLOB GLIMMORA_FIXTURE_FILES LIST_DIRECTORIES false CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/tests/fixtures/resources/*)
list(FILTER GLIMMORA_FIXTURE_FILES EXCLUDE REGEX "/\\.[^/]*$")
list(SORT GLIMMORA_FIXTURE_FILES)

if(TARGET glimmora3d)
  glimmora_embed_resources(glimmora3d ${GLIMMORA_ASSET_FILES})
endif()
if(TARGET unit_tests)
  glimmora_embed_resources(unit_tests ${GLIMMORA_FIXTURE_FILES})
  glimmora_embed_resources(unit_tests ${GLIMMORA_ASSET_FILES})
endif()
if(TARGET gl_tests)
  glimmora_embed_resources(gl_tests ${GLIMMORA_FIXTURE_FILES})
endif()
