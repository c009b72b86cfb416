# Run by cpack (CPACK_INSTALL_SCRIPTS) for the installer's test: puts the
# stand-in editor into the kit's staging folder.
file(INSTALL ${CPACK_KXC2_STAND_IN} DESTINATION ${CMAKE_INSTALL_PREFIX})
