# Version information for a Windows program: kxc2_windows_version(target
# "what it is") gives it a VERSIONINFO from the project's version, with the
# target's output name as the file name.
set(KXC2_VERSION_RC_IN ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

function(kxc2_windows_version target description)
  set(KXC2_FILE_DESCRIPTION "${description}")
  set(KXC2_FILE_NAME "${target}.exe")
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(output_name)
    set(KXC2_FILE_NAME "${output_name}.exe")
  endif()
  foreach(part MAJOR MINOR PATCH TWEAK)
    set(KXC2_VERSION_${part} ${PROJECT_VERSION_${part}})
    if(NOT KXC2_VERSION_${part})
      set(KXC2_VERSION_${part} 0)
    endif()
  endforeach()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${KXC2_VERSION_RC_IN} ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
