# The cross build for Windows with Debian's mingw-w64 (the posix thread model, which std::thread
# and std::mutex need), for the processor SHOGI_WINDOWS_PROCESSOR that the toolchain file of
# each processor sets before it includes this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SHOGI_WINDOWS_PROCESSOR})
set(CMAKE_C_COMPILER ${SHOGI_WINDOWS_PROCESSOR}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${SHOGI_WINDOWS_PROCESSOR}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${SHOGI_WINDOWS_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SHOGI_WINDOWS_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The programs run under Wine, where the compiler's own DLLs are not on the path: link the C
# and C++ runtimes and the threads library in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
