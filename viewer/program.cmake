# The viewer: its frame and views as a library (tests link them in-process)
# and the program around it.
file(GLOB viewer_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/views/*.cpp)
list(FILTER viewer_sources EXCLUDE REGEX "/app/Main\\.cpp$")
add_library(vlmviewer STATIC ${viewer_sources})
target_include_directories(vlmviewer PUBLIC
  ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/app ${CMAKE_CURRENT_SOURCE_DIR}/views)
# The imaging codecs decode PNG, JPEG and GIF pictures.
target_link_libraries(vlmviewer PUBLIC vlmclip wcl windowscodecs ole32)

# The resources, for the program and for tests that need its strings and menus.
set(VELLMORA_RC ${CMAKE_CURRENT_SOURCE_DIR}/Vellmora.rc CACHE INTERNAL "Vellmora's resource script")

add_executable(Vellmora WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/app/Main.cpp ${VELLMORA_RC})
set_target_properties(Vellmora PROPERTIES OUTPUT_NAME Vellmora)
target_link_libraries(Vellmora PRIVATE wcl_entry vlmviewer vlmclip wcl)
