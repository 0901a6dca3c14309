# The preview picture probe runs the saver's /p path in its own process and
# shows the program's still picture: it embeds that bitmap.
if(TARGET PreviewPictureProbe)
  glimmora_embed_resources(PreviewPictureProbe ${CMAKE_SOURCE_DIR}/resources/Background.bmp)
endif()

# The program's icon is what its script makes, byte for byte.
if(NOT WIN32 AND TARGET unit_tests)
  add_test(NAME program_icon COMMAND bash -c
    "T=$(mktemp -d) && trap 'rm -rf $T' EXIT && '${GLIMMORA_PYTHON3}' '${CMAKE_SOURCE_DIR}/tools/assets/make_icon.py' $T/icon.ico >/dev/null && cmp $T/icon.ico '${CMAKE_SOURCE_DIR}/resources/program/Glimmora3D.ico'")
endif()
