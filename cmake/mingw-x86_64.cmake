# The same program for 64-bit Windows; the Wine test tiers use it on machines
# whose kernel cannot run 32-bit Linux code (and so no 32-bit Wine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LUMIVANE_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
