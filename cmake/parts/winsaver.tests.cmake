# The preview picture probe runs the saver's /p path in its own process and
# shows the program's still picture: it embeds that bitmap.
if(TARGET PreviewPictureProbe)
  glimmora_embed_resources(PreviewPictureProbe ${CMAKE_SOURCE_DIR}/resources/Background.bmp)
endif()
