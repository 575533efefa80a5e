# Clip format records against the real clipboard, the clipboard helper that
# the viewer's tests share, the viewer's artwork as the program loads it, and
# the clip files on disk.
vellmora_add_test(ClipFormatTests SERIAL
  SOURCES ClipFormatTests.cpp ClipFormatDataTests.cpp ClipFormatArtTests.cpp ClipFileTests.cpp
  LIBRARIES vlmclip
  RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ClipFormatTests.rc)
# windres finds the icon and bitmap files of the .rc on its include path.
target_include_directories(ClipFormatTests PRIVATE ${CMAKE_SOURCE_DIR}/viewer/res)
# Real picture files for the clip files' tests, made by the imaging codecs.
target_link_libraries(ClipFormatTests PRIVATE windowscodecs ole32)
