# Application manifests: each program carries one as its resource 1 of type
# RT_MANIFEST (24), with the rights it asks Windows for ("asInvoker" or
# "requireAdministrator") and the Windows versions it was made for. No
# common-controls version 6 is asked for, so the controls keep their look.
set(VELLMORA_MANIFEST_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/Program.manifest.in)

function(vellmora_manifest target level)
  set(EXECUTION_LEVEL ${level})
  set(PROGRAM_NAME ${target})
  set(manifest ${CMAKE_BINARY_DIR}/manifests/${target}.manifest)
  set(rc ${CMAKE_BINARY_DIR}/manifests/${target}Manifest.rc)
  configure_file(${VELLMORA_MANIFEST_TEMPLATE} ${manifest} @ONLY)
  file(CONFIGURE OUTPUT ${rc} CONTENT "1 24 \"${manifest}\"\n")
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${manifest})
  target_sources(${target} PRIVATE ${rc})
endfunction()
