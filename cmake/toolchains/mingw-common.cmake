# Cross-building for Windows with MinGW-w64: DIZO_MINGW_TRIPLE names the target before this is
# included. The runtime is linked statically, since Wine (and a station's PC) exits with no
# message when a DLL is missing. Libraries built for the target by scripts/install-deps.sh
# (libpng, GoogleTest, Google Benchmark) live under /opt/dizo-mingw/<triple>.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)
# The POSIX thread model: std::thread and std::mutex exist only with it in this GCC.
set(CMAKE_C_COMPILER ${DIZO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DIZO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DIZO_MINGW_TRIPLE}-windres)
set(DIZO_MINGW_PREFIX /opt/dizo-mingw/${DIZO_MINGW_TRIPLE} CACHE PATH "Libraries built for the Windows target")
set(CMAKE_FIND_ROOT_PATH /usr/${DIZO_MINGW_TRIPLE} ${DIZO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The static zlib: its import library would pull in a DLL.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests and tools run under Wine; scripts/wine-run.sh picks the loader and the prefix.
get_filename_component(_dizo_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_dizo_root}/scripts/wine-run.sh)
