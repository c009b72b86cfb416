# Version information for the Windows programs: Explorer's Properties and
# installers read it, so every .exe carries the project's version.
# Included at the top level of a Windows build: the RC language must be
# enabled in the highest folder that uses it.
enable_language(RC)

set(KXC2_PRODUCT_NAME "KxC2 Map Kit")
set(KXC2_COMPANY_NAME "The KxC2 map kit developers")

# kxc2_windows_version(target "description"): adds a VERSIONINFO resource
# (FileVersion and ProductVersion = PROJECT_VERSION) to the target.
function(kxc2_windows_version target description)
  # VERSIONINFO wants four numbers; 0.30 becomes 0,30,0,0.
  set(numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH} ${PROJECT_VERSION_TWEAK})
  set(version_words)
  foreach(number IN LISTS numbers)
    if(number STREQUAL "")
      set(number 0)
    endif()
    list(APPEND version_words ${number})
  endforeach()
  list(JOIN version_words "," KXC2_VERSION_WORDS)
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(KXC2_FILE_NAME ${output_name}.exe)
  set(KXC2_INTERNAL_NAME ${output_name})
  set(KXC2_DESCRIPTION "${description}")
  set(KXC2_VERSION ${PROJECT_VERSION})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
