# The program's run as a whole: one program per data file, the data file's
# place, keys, and exits that leave no access violation behind (Wine swallows
# those inside window procedures, so its exception trace is read instead).
if(TARGET vlmviewer)
  target_sources(ViewerFrameTests PRIVATE FrameChoiceTests.cpp)

  add_executable(ViewerRunTests ProgramRunTests.cpp FrameFixture.cpp ${VELLMORA_RC})
  target_link_libraries(ViewerRunTests PRIVATE testsupport vlmviewer)
  add_dependencies(ViewerRunTests Vellmora)
  gtest_discover_tests(ViewerRunTests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop ENVIRONMENT "WINEDEBUG=-all,+seh"
               FAIL_REGULAR_EXPRESSION "code=c0000005")

  # The end of a session ends every program of its prefix: a prefix of its own.
  add_executable(ViewerSessionSteps SessionSteps.cpp)
  target_link_libraries(ViewerSessionSteps PRIVATE testsupport vlmclip)
  add_dependencies(ViewerSessionSteps Vellmora)
  add_test(NAME ViewerSessionEndToEnd
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/session_end_to_end.sh ${CMAKE_SOURCE_DIR} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set_tests_properties(ViewerSessionEndToEnd PROPERTIES TIMEOUT 300 RESOURCE_LOCK desktop)
endif()
