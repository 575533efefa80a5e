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

# Vellmora.exe run whole: Wine swallows access violations in window procedures,
# so its exception trace fails these tests.
if(TARGET vlmviewer)
  add_executable(ViewerRunTests ProgramRunTests.cpp FrameFixture.cpp ${VELLMORA_RC})
  target_link_libraries(ViewerRunTests PRIVATE testsupport vlmviewer)
  add_dependencies(ViewerRunTests Vellmora)
  gtest_discover_tests(ViewerRunTests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop ENVIRONMENT "WINEDEBUG=-all,+seh"
               FAIL_REGULAR_EXPRESSION "code=c0000005")
  add_executable(ViewerSessionSteps SessionSteps.cpp)
  target_link_libraries(ViewerSessionSteps PRIVATE testsupport)
  add_dependencies(ViewerSessionSteps Vellmora)
  add_test(NAME ViewerSessionEndToEnd COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/session_end_to_end.sh
    ${CMAKE_SOURCE_DIR} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set_tests_properties(ViewerSessionEndToEnd PROPERTIES TIMEOUT 300 RESOURCE_LOCK desktop)
endif()
