# CMake toolchain for cross-building the Windows (x86_64) game with MinGW-w64.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw.cmake ...
#
# The posix-threads compiler variant is used because GoogleTest needs
# std::thread. Programs are linked statically against the MinGW runtime so a
# built .exe runs with only the DLLs Windows itself has. ctest runs the test
# programs under Wine through wine-run beside this file.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC cannot realign the stack on 64-bit Windows, so a spilled vector
# register may land unaligned; the assembler then must emit unaligned moves
# (GCC bug 54412).
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")

# -static pulls in libgcc, libstdc++ and winpthread as archives: without it
# the .exe needs libwinpthread-1.dll and friends beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# try_compile projects see this file again, so the path is computed here
# rather than passed on the command line.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run")
