# The release folder: each architecture's build puts its Install.exe, which
# carries everything else, into one folder beside the build folders:
# build/release/i686/Install.exe and build/release/x86_64/Install.exe.
if(TARGET Install)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(release_arch i686)
  else()
    set(release_arch x86_64)
  endif()
  get_filename_component(release_default ${CMAKE_BINARY_DIR}/../release ABSOLUTE)
  set(VELLMORA_RELEASE_DIR ${release_default} CACHE PATH "Folder that receives Install.exe of each architecture")
  add_custom_target(Release ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELLMORA_RELEASE_DIR}/${release_arch}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Install> ${VELLMORA_RELEASE_DIR}/${release_arch}/Install.exe
    DEPENDS Install
    COMMENT "Release: ${VELLMORA_RELEASE_DIR}/${release_arch}/Install.exe")
endif()
