# 64-bit Windows: the same sources; the build whose tests run under Wine where the kernel cannot
# run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DIZO_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
