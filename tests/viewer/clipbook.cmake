# The clipbook window inside a frame created by the test, and the dialogs
# that open and save clip files.
if(TARGET vlmviewer)
  vellmora_add_test(ClipBookTests SERIAL
    SOURCES FrameFixture.cpp ClipBookWindowTests.cpp
    LIBRARIES vlmviewer
    RESOURCES ${VELLMORA_RC})
endif()
