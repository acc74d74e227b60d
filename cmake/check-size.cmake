# ctest helper: fails when FILE is larger than LIMIT bytes.
#   cmake -DFILE=<path> -DLIMIT=<bytes> -P check-size.cmake
file(SIZE "${FILE}" size)
math(EXPR kib "(${size} + 1023) / 1024")
math(EXPR limit_kib "${LIMIT} / 1024")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE}: ${size} bytes (${kib} KiB), over the limit of ${limit_kib} KiB")
endif()
message(STATUS "${FILE}: ${size} bytes (${kib} KiB), limit ${limit_kib} KiB")
