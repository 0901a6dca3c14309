# The scene's pixel tests draw the real embedded assets.
if(TARGET gl_tests)
  glimmora_embed_resources(gl_tests ${GLIMMORA_ASSET_FILES})
endif()
