# Embeds the program's assets (every file under resources/) into the
# programs, and the image fixtures plus the assets into the unit tests.
file(GLOB GLIMMORA_ASSET_FILES LIST_DIRECTORIES false CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
list(FILTER GLIMMORA_ASSET_FILES EXCLUDE REGEX "/\\.[^/]*$")
list(SORT GLIMMORA_ASSET_FILES)

if(TARGET glimmora3d)
  glimmora_embed_resources(glimmora3d ${GLIMMORA_ASSET_FILES})
endif()

if(TARGET unit_tests)
  file(GLOB GLIMMORA_FIXTURE_FILES LIST_DIRECTORIES false CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/tests/fixtures/resources/*)
  list(FILTER GLIMMORA_FIXTURE_FILES EXCLUDE REGEX "/\\.[^/]*$")
  list(SORT GLIMMORA_FIXTURE_FILES)
  glimmora_embed_resources(unit_tests ${GLIMMORA_FIXTURE_FILES})
  glimmora_embed_resources(unit_tests ${GLIMMORA_ASSET_FILES})
endif()
