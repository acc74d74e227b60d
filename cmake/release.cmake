# The release build: smallest code, whole-program optimisation, no symbols and
# a static runtime, so the shipped exe stands alone and stays small.
include(CheckIPOSupported)

if(MSVC)
  # Before any target exists: the runtime choice is fixed when a target is made.
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  foreach(lang C CXX)
    set(CMAKE_${lang}_FLAGS_RELEASE "/O1 /Ob1 /Gy /Gw /DNDEBUG")
  endforeach()
  # /GL and /LTCG come with link-time optimisation below.
  set(CMAKE_EXE_LINKER_FLAGS_RELEASE "/OPT:REF /OPT:ICF /INCREMENTAL:NO")
else()
  foreach(lang C CXX)
    set(CMAKE_${lang}_FLAGS_RELEASE "-Os -DNDEBUG -ffunction-sections -fdata-sections")
  endforeach()
  set(CMAKE_EXE_LINKER_FLAGS_RELEASE "-s -Wl,--gc-sections")
  if(WIN32)
    # No link time in the PE header: the same sources link to the same bytes,
    # so the released exe can be compared with the one the tests ran.
    string(APPEND CMAKE_EXE_LINKER_FLAGS_RELEASE " -Wl,--no-insert-timestamp")
    # No type information for the program's classes: nothing asks for it
    # (no dynamic_cast, no typeid; exceptions are caught with catch (...)), and
    # each polymorphic class would carry its name and bases into the exe.
    string(APPEND CMAKE_CXX_FLAGS_RELEASE " -fno-rtti")
  endif()
  # Fat LTO objects: the test programs link the same libraries without LTO
  # (GCC 12 for i686 fails on whole-program optimisation of the test code).
  set(CMAKE_C_COMPILE_OPTIONS_IPO -flto=auto -ffat-lto-objects)
  set(CMAKE_CXX_COMPILE_OPTIONS_IPO -flto=auto -ffat-lto-objects)
endif()

check_ipo_supported(RESULT lumivane_ipo OUTPUT lumivane_ipo_error LANGUAGES C CXX)
if(NOT lumivane_ipo)
  message(WARNING "No link-time optimisation with this compiler: ${lumivane_ipo_error}")
elseif(MINGW AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # MinGW-w64 GCC 12 stops with an internal compiler error (binds_to_current_def_p,
  # on std::vector members) when it optimises the whole program at link time.
  set(lumivane_ipo OFF)
endif()

# Link-time optimisation for what ships (and the baseline measured against it),
# through CMake, which also picks gcc-ar for the static libraries (plain ar
# would drop their LTO objects).
function(lumivane_optimise_whole_program)
  if(lumivane_ipo)
    set_target_properties(${ARGN} PROPERTIES INTERPROCEDURAL_OPTIMIZATION_RELEASE ON)
  endif()
endfunction()

# Programs that link the optimised libraries without being shipped.
function(lumivane_link_without_lto target)
  if(lumivane_ipo AND NOT MSVC)
    target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-fno-lto>)
  endif()
endfunction()
