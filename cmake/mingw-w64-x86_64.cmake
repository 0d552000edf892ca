# Cross-builds the Windows x64 programs on Debian with MinGW-w64 of the posix thread model (std::thread and
# std::mutex need it). Linked statically, so the executables need none of MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSARA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSARA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSARA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSARA_MINGW_PREFIX}-windres)

# Qt for Windows lies outside MinGW's root (the cache of scripts/windows-qt): TESSARA_WINDOWS_QT_DIR adds its
# install folder as a root, so its packages are found while the host's stay out.
set(CMAKE_FIND_ROOT_PATH /usr/${TESSARA_MINGW_PREFIX} ${TESSARA_WINDOWS_QT_DIR})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TESSARA_WINDOWS_QT_DIR)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Wide-character entry points and no min/max macros from <windows.h>.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)

# Programs built here run under Wine when the tests need them, in a Wine prefix of the build's own, quietly.
find_program(TESSARA_WINE wine)
if(TESSARA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all WINEPREFIX=${CMAKE_BINARY_DIR}/wine ${TESSARA_WINE})
endif()
