# `cmake --build <tree> --target package` makes the distribution zip: one top
# folder holding the exe, README.txt for Windows users, LICENSE.txt and the icon
# set's credits (ICONS.txt), the texts with Windows line ends.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(lumivane_package_arch win64)
  set(LUMIVANE_BITS 64)
  set(LUMIVANE_WHICH_ZIP "This is the 64-bit program, for 64-bit Windows 7 and later: Windows 11 is
always 64-bit, and so is Windows 10 on nearly every PC. For 32-bit Windows
take the 32-bit zip (its name ends in win32) instead.")
else()
  set(lumivane_package_arch win32)
  set(LUMIVANE_BITS 32)
  set(LUMIVANE_WHICH_ZIP "This is the 32-bit program, for 32-bit Windows, Windows 7 and later. On
64-bit Windows (Windows 11, and Windows 10 on nearly every PC) take the
64-bit zip (its name ends in win64).")
endif()

# What the tests did with this exe. The Wine tiers (scripts/test.sh) run the
# 32-bit build where 32-bit Wine starts, and the 64-bit build elsewhere.
set(lumivane_wine32_runs FALSE)
if(CMAKE_CROSSCOMPILING AND EXISTS /usr/lib/wine/wine)
  execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE lumivane_wine32_status
    OUTPUT_QUIET ERROR_QUIET TIMEOUT 30)
  if(lumivane_wine32_status EQUAL 0)
    set(lumivane_wine32_runs TRUE)
  endif()
endif()
if(LUMIVANE_BITS EQUAL 32)
  set(lumivane_tests_ran_this ${lumivane_wine32_runs})
elseif(lumivane_wine32_runs)
  set(lumivane_tests_ran_this FALSE)
else()
  set(lumivane_tests_ran_this TRUE)
endif()
if(NOT CMAKE_CROSSCOMPILING)
  set(LUMIVANE_TESTED "This exe was built on Windows from the Lumivane sources. The released zips
are built and tested on Linux, under Wine.")
elseif(lumivane_tests_ran_this)
  set(LUMIVANE_TESTED "The automatic tests ran this very exe under ${LUMIVANE_BITS}-bit Wine on Linux:
tests of its parts against the real registry, menus and drawing, and tests
that start lumivane.exe in a Wine desktop and use it as a person would. The
copy in this zip is checked byte for byte against the one they ran.")
elseif(LUMIVANE_BITS EQUAL 32)
  set(LUMIVANE_TESTED "This exe comes from the same sources as the 64-bit one. The automatic tests
run Lumivane under Wine on Linux; where the kernel cannot run 32-bit Linux
programs, as where this zip was made, 32-bit Wine cannot start, so they ran
the 64-bit build. This 32-bit exe is checked for its format, size and
imports, but it was not run.")
else()
  set(LUMIVANE_TESTED "This exe comes from the same sources as the 32-bit one, which the automatic
tests ran under 32-bit Wine on Linux. This 64-bit exe is checked for its
format, size and imports, but it was not run.")
endif()

# A 32-bit program on 64-bit Windows reads and writes the machine's 32-bit view
# of the registry.
if(LUMIVANE_BITS EQUAL 32)
  set(LUMIVANE_RUN_KEY_NOTE "

On 64-bit Windows, Windows keeps the value for every user of this 32-bit
program under
HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run.")
else()
  set(LUMIVANE_RUN_KEY_NOTE "")
endif()

# The texts go out with Windows line ends, each written only when it changes so
# that the package is not remade for nothing.
set(lumivane_package_texts ${CMAKE_BINARY_DIR}/package)
set(LUMIVANE_TITLE "Lumivane ${PROJECT_VERSION} for ${LUMIVANE_BITS}-bit Windows")
string(REGEX REPLACE "." "=" LUMIVANE_TITLE_RULE "${LUMIVANE_TITLE}")
function(lumivane_package_text source name)
  file(READ ${source} content)
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")
  file(WRITE ${lumivane_package_texts}/${name}.new "${content}")
  configure_file(${lumivane_package_texts}/${name}.new ${lumivane_package_texts}/${name} COPYONLY)
endfunction()
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${lumivane_package_texts}/README.txt.lf @ONLY)
lumivane_package_text(${lumivane_package_texts}/README.txt.lf README.txt)
# Copied, not configured: configuring would take their e-mail addresses for variables.
lumivane_package_text(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)
lumivane_package_text(${PROJECT_SOURCE_DIR}/res/icons/COPYING.Tango ICONS.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/res/icons/COPYING.Tango)

install(TARGETS lumivane RUNTIME DESTINATION .)
install(FILES ${lumivane_package_texts}/README.txt ${lumivane_package_texts}/LICENSE.txt
  ${lumivane_package_texts}/ICONS.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Lumivane)
set(CPACK_PACKAGE_VENDOR "The Lumivane developers")
# Kept apart: including CPack leaves CPACK_PACKAGE_FILE_NAME naming the source package.
set(LUMIVANE_PACKAGE_NAME "Lumivane-${PROJECT_VERSION}-${lumivane_package_arch}")
set(CPACK_PACKAGE_FILE_NAME ${LUMIVANE_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
