# The scene's pixel tests draw the real embedded assets.
if(TARGET gl_tests)
  glimmora_embed_resources(gl_tests ${GLIMMORA_ASSET_FILES})
endif()

# The Linux program run as a user runs it.
if(TARGET glimmora3d AND NOT WIN32)
  add_test(NAME glimmora3d_program COMMAND bash ${CMAKE_SOURCE_DIR}/tests/linux/glimmora3d_test.sh $<TARGET_FILE:glimmora3d>)
endif()
