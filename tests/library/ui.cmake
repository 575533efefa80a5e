# Dialogs, control wrappers and drawing wrappers against real windows.
vellmora_add_test(LibraryUiTests SERIAL
  SOURCES DialogInputTests.cpp DialogFileTests.cpp DialogSheetTests.cpp DialogFolderTests.cpp ControlTests.cpp DrawingTests.cpp
  RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/UiTests.rc)
