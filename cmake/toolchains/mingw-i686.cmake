# 32-bit Windows (the program stations run: EchoLink is a 32-bit program).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(DIZO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
