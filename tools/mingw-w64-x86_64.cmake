# Cross-compiles the library for Windows x86-64 with Debian's MinGW-w64 toolchain (the POSIX thread model,
# package g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TF_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TF_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TF_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TF_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${TF_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${TF_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
