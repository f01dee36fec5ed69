# The libraries the tests and the batch tool use, for the Windows cross build. Debian
# ships GoogleTest as source (built here with the cross compiler) and CLI11 and
# nlohmann_json as headers; the headers are reached through a folder of links so that
# no host header (/usr/include) is ever on the cross compiler's path.
set(QB_WINDOWS_DEPS ${CMAKE_BINARY_DIR}/windows-deps)
file(MAKE_DIRECTORY ${QB_WINDOWS_DEPS}/include)
foreach(header_dir nlohmann CLI)
    file(CREATE_LINK /usr/include/${header_dir} ${QB_WINDOWS_DEPS}/include/${header_dir} SYMBOLIC)
endforeach()

add_library(qb_header_only_deps INTERFACE)
target_include_directories(qb_header_only_deps SYSTEM INTERFACE ${QB_WINDOWS_DEPS}/include)
add_library(nlohmann_json::nlohmann_json ALIAS qb_header_only_deps)
add_library(CLI11::CLI11 ALIAS qb_header_only_deps)

if(QB_BUILD_TESTS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(gtest_target gtest gtest_main gmock gmock_main)
        if(NOT TARGET GTest::${gtest_target})
            add_library(GTest::${gtest_target} ALIAS ${gtest_target})
        endif()
    endforeach()
endif()

# find_package() finds these packages here: their targets exist already.
set(CMAKE_FIND_PACKAGE_PREFER_CONFIG ON)
foreach(package GTest nlohmann_json CLI11)
    file(WRITE ${QB_WINDOWS_DEPS}/${package}Config.cmake
         "# The targets are made by cmake/windows-deps.cmake.\n")
    file(WRITE ${QB_WINDOWS_DEPS}/${package}ConfigVersion.cmake
         "set(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
    set(${package}_DIR ${QB_WINDOWS_DEPS} CACHE PATH "" FORCE)
endforeach()

# Tests (and their listing) run under Wine with a prefix of the build's own, quietly and
# without a display; scripts/wine-prefix makes it before the first run.
set(QB_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${QB_WINE_PREFIX} WINEDEBUG=-all DISPLAY=
                                  /usr/lib/wine/wine64)

include(${CMAKE_CURRENT_LIST_DIR}/windows-workbook-libs.cmake)
