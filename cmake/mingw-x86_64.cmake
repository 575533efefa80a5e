# The tested build: 64-bit programs, run under Wine's 64-bit loader.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
find_program(WINE64_LOADER NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT WINE64_LOADER)
  find_program(WINE64_LOADER NAMES wine64 wine)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE64_LOADER})
