# Tests of the viewer program: rules over plain values, and the frame and its
# views created inside the test executable with the program's resources.
if(TARGET vlmviewer)
  vellmora_add_test(ViewerRuleTests
    SOURCES CommandLineTests.cpp ViewRuleTests.cpp
    LIBRARIES vlmviewer
    RESOURCES ${VELLMORA_RC})

  vellmora_add_test(ViewerFrameTests SERIAL
    SOURCES FrameFixture.cpp FrameFormatListTests.cpp FrameChainTests.cpp FrameBarsTests.cpp
            ViewWindowTests.cpp SettingsTests.cpp CommandLineProcessTests.cpp
    LIBRARIES vlmviewer
    RESOURCES ${VELLMORA_RC})
  add_dependencies(ViewerFrameTests Vellmora)
endif()

# Stages the running program for scripts/screenshot.sh.
if(TARGET vlmviewer)
  vellmora_add_test_program(ViewerShowcase programs/ViewerShowcase.cpp)
  target_include_directories(ViewerShowcase PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(ViewerShowcase PRIVATE windowscodecs ole32)
endif()

# What the format views draw and read, beside the frame.
if(TARGET vlmviewer)
  target_sources(ViewerFrameTests PRIVATE ViewDrawTests.cpp)
  target_link_libraries(ViewerFrameTests PRIVATE windowscodecs ole32)
endif()

# Content marked private, the clipboard's owner and holder, and Save Format
# As, against data that another process puts.
if(TARGET vlmviewer)
  add_executable(ClipSource WIN32 programs/ClipSource.cpp)
  target_link_libraries(ClipSource PRIVATE vlmclip wcl)
  vellmora_add_test(ClipWatchTests SERIAL
    SOURCES FrameFixture.cpp ClipWatchTests.cpp
    LIBRARIES vlmviewer
    RESOURCES ${VELLMORA_RC})
  add_dependencies(ClipWatchTests ClipSource)
endif()
