# Clip format records against the real clipboard, and the clipboard helper
# that the viewer's tests share.
vellmora_add_test(ClipFormatTests SERIAL
  SOURCES ClipFormatTests.cpp ClipFormatDataTests.cpp
  LIBRARIES vlmclip
  RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ClipFormatTests.rc)
