# ctest helper: makes the distribution zip with the tree's own package target
# and checks that packaging left the exe as it was and that the zip holds that
# exe byte for byte, with the texts that go with it and nothing else.
#   cmake -DTREE=<build tree> -DCONFIG=<config> -DEXE=<exe> -DZIP=<zip> -DTOP=<zip's top folder>
#         -P check-package.cmake
file(SHA256 "${EXE}" tested)
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${TREE}" --config "${CONFIG}" --target package
  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the package target failed:\n${log}")
endif()
file(SHA256 "${EXE}" packaged)
if(NOT packaged STREQUAL tested)
  message(FATAL_ERROR "making the package rebuilt ${EXE}: the zip's exe is not the one the tests ran\n${log}")
endif()

set(unpacked "${TREE}/package-check")
file(REMOVE_RECURSE "${unpacked}")
file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${unpacked}")
file(GLOB_RECURSE entries LIST_DIRECTORIES false RELATIVE "${unpacked}" "${unpacked}/*")
list(SORT entries)
set(expected "${TOP}/ICONS.txt;${TOP}/LICENSE.txt;${TOP}/README.txt;${TOP}/lumivane.exe")
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${ZIP} holds\n  ${entries}\nnot\n  ${expected}")
endif()

file(SHA256 "${unpacked}/${TOP}/lumivane.exe" zipped)
if(NOT zipped STREQUAL tested)
  message(FATAL_ERROR "the exe in ${ZIP} (SHA-256 ${zipped}) is not ${EXE} (SHA-256 ${tested})")
endif()

# The texts are read in Notepad: Windows line ends. Looked at as bytes, since
# reading text drops the carriage returns.
foreach(text README.txt LICENSE.txt ICONS.txt)
  file(READ "${unpacked}/${TOP}/${text}" bytes HEX)
  string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
  string(REPLACE "0d 0a " "" bare "${bytes}")
  string(FIND "${bare}" "0a " bare_lf)
  if(bytes STREQUAL "" OR NOT bare_lf EQUAL -1)
    message(FATAL_ERROR "${text} in ${ZIP} is empty or has lines that do not end in CR LF")
  endif()
endforeach()
file(READ "${unpacked}/${TOP}/README.txt" readme)
if(readme MATCHES "@[A-Z_]+@")
  message(FATAL_ERROR "README.txt in ${ZIP} keeps the placeholder ${CMAKE_MATCH_0}")
endif()
file(REMOVE_RECURSE "${unpacked}")
message(STATUS "${ZIP}: lumivane.exe SHA-256 ${zipped}, the same as ${EXE}")
