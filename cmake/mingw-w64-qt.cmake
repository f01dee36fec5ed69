# Cross-builds the window for 64-bit Windows against the shared (DLL) Qt 6.4.2 for Windows
# of ../shared/qt-windows (README.md there), unpacked into the build folder after its
# checksum is checked. Qt's own toolchain file then chain-loads cmake/mingw-w64.cmake.
# Qt's DLLs use MinGW's C++ runtime as DLLs (libstdc++-6, libgcc_s_seh-1, libwinpthread-1),
# so every program of this build does too: one copy of the runtime in a process, shipped
# beside the programs.
set(QB_QT_WINDOWS_NAME qt6.4.2-mingw-w64-x86_64)
set(QB_QT_WINDOWS_SHA256 cf38eece5efdf489ff934be5a2f50a5cb2ea4b20ee664df091f4fcea8e8b8edd)

# The toolchain file runs again for each try_compile, in another folder: the first run
# hands the prefix on through the environment of this CMake process.
if(DEFINED ENV{QB_QT_WINDOWS_PREFIX})
    set(QB_QT_WINDOWS_PREFIX "$ENV{QB_QT_WINDOWS_PREFIX}")
else()
    if(NOT QB_QT_WINDOWS_ARCHIVE)
        get_filename_component(QB_QT_WINDOWS_ARCHIVE
            "${CMAKE_CURRENT_LIST_DIR}/../../shared/qt-windows/${QB_QT_WINDOWS_NAME}.tar.xz" ABSOLUTE)
    endif()
    set(QB_QT_WINDOWS_ARCHIVE "${QB_QT_WINDOWS_ARCHIVE}" CACHE FILEPATH
        "Qt for Windows (${QB_QT_WINDOWS_NAME}.tar.xz), made by build-qt-windows.sh")
    if(NOT EXISTS "${QB_QT_WINDOWS_ARCHIVE}")
        message(FATAL_ERROR "Qt for Windows is missing: ${QB_QT_WINDOWS_ARCHIVE}\n"
            "Make it with build-qt-windows.sh from ../shared/qt-windows (about an hour on two "
            "cores, see docs/building-windows.md), or pass -DQB_QT_WINDOWS_ARCHIVE=FILE.")
    endif()
    file(SHA256 "${QB_QT_WINDOWS_ARCHIVE}" archive_sha256)
    if(NOT archive_sha256 STREQUAL QB_QT_WINDOWS_SHA256)
        message(FATAL_ERROR "${QB_QT_WINDOWS_ARCHIVE} has the sha256 ${archive_sha256}, "
            "not ${QB_QT_WINDOWS_SHA256}: not the Qt this build was made for.")
    endif()
    set(QB_QT_WINDOWS_PREFIX "${CMAKE_BINARY_DIR}/${QB_QT_WINDOWS_NAME}")
    set(unpacked_sha256 "")
    if(EXISTS "${QB_QT_WINDOWS_PREFIX}/sha256")
        file(STRINGS "${QB_QT_WINDOWS_PREFIX}/sha256" unpacked_sha256 LIMIT_COUNT 1)
    endif()
    if(NOT unpacked_sha256 STREQUAL archive_sha256)
        message(STATUS "Unpacking ${QB_QT_WINDOWS_ARCHIVE} into ${CMAKE_BINARY_DIR}")
        file(REMOVE_RECURSE "${QB_QT_WINDOWS_PREFIX}")
        file(ARCHIVE_EXTRACT INPUT "${QB_QT_WINDOWS_ARCHIVE}" DESTINATION "${CMAKE_BINARY_DIR}")
        file(WRITE "${QB_QT_WINDOWS_PREFIX}/sha256" "${archive_sha256}\n")
    endif()
    set(ENV{QB_QT_WINDOWS_PREFIX} "${QB_QT_WINDOWS_PREFIX}")
endif()

set(QT_CHAINLOAD_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
include("${QB_QT_WINDOWS_PREFIX}/lib/cmake/Qt6/qt.toolchain.cmake")
# After mingw-w64.cmake: the C++ runtime as DLLs, as Qt's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
set(QB_QT_WINDOWS ON)
