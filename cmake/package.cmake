# `cmake --build <tree> --target package` makes the distribution zip: the exe,
# README.md, LICENSE and the icon set's licence (icons/), in one top folder.
install(TARGETS lumivane RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)

# Looked up when the package is made, so whatever licence file the icon folder
# holds then is the one shipped; a package without it must not be made.
install(CODE "
  file(GLOB icon_licences
    \"${PROJECT_SOURCE_DIR}/res/icons/*[Ll][Ii][Cc][Ee][Nn][CcSs][Ee]*\"
    \"${PROJECT_SOURCE_DIR}/res/icons/*COPYING*\")
  if(NOT icon_licences)
    message(FATAL_ERROR \"res/icons/ holds no licence file for the icon set\")
  endif()
  file(INSTALL \${icon_licences} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/icons\")
")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(lumivane_package_arch win64)
else()
  set(lumivane_package_arch win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Lumivane)
set(CPACK_PACKAGE_VENDOR "The Lumivane developers")
set(CPACK_PACKAGE_FILE_NAME "Lumivane-${PROJECT_VERSION}-${lumivane_package_arch}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
