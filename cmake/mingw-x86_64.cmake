# The 64-bit program, from the same source: it runs under the 64-bit Wine on every machine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(WMX_MINGW x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
