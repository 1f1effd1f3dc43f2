# The 32-bit program: the one a station installs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WMX_MINGW i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
