# The dialogs and secondary windows: parameters, About, Artwork Preview.
list(APPEND KXC2MAP_WIN32_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/about_window.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/dialog_style.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/parameters_dialog.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/preview_window.cpp
)
# They need comctl32 (up-down controls, edit hooks) and shell32 (the
# Pictures folder) linked into the executable.
