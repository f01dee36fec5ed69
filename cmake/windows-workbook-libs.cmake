# The XLSX workbook libraries of the Windows cross build, linked statically into the
# programs (no DLL beside them): the same libraries, of the same Debian 12 (bookworm)
# source packages, as the Linux build's, built here with MinGW-w64.
#
#   zlib           1.2.13     Debian's own MinGW build, libz-mingw-w64-dev 1.2.13+dfsg-1
#                             (scripts/install-deps), as libz.a
#   minizip        1.1        source package minizip 1.1-8+deb12u1 (zlib's contrib/minizip,
#                             which bookworm ships as a package of its own)
#   expat          2.5.0      source package expat 2.5.0-1+deb12u2 (bookworm's point release,
#                             with Debian's fixes of CVE-2023-52425, CVE-2024-45490..45492,
#                             CVE-2024-50602 and CVE-2024-8176; bookworm-security's later
#                             2.5.0-1+deb12u5 lives in another pool, debian-security)
#   libxlsxwriter  1.1.4      source package libxlsxwriter 1.1.4-2
#
# The source packages come from Debian's archive, deb.debian.org/debian/pool, into the
# build folder; once a newer version has replaced them there, from snapshot.debian.org,
# which keeps every file Debian published, by its SHA-1. Each file is checked against the
# SHA-256 sum written below (the .dsc's own); dpkg-source checks the tarballs against the
# .dsc again as it unpacks them and applies Debian's patches. Nothing needs a deb-src line
# in the machine's apt sources.
#
# Compiling them takes 33 compiler runs, some 12 s on two cores; configuring, the first
# time, 6 s more.

enable_language(C)

set(QB_WORKBOOK_SOURCES ${CMAKE_BINARY_DIR}/windows-deps/sources)

# Fetches one source package (its .dsc, and the files the .dsc names) and unpacks it with
# Debian's patches applied into ${QB_WORKBOOK_SOURCES}/<package>; sets <package>_SOURCE_DIR.
# FILES: the name, SHA-256 and SHA-1 of each file, the .dsc first.
function(qb_debian_source package pool_dir)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "FILES")
    list(GET arg_FILES 0 dsc)
    list(GET arg_FILES 1 dsc_sha256)
    set(unpacked ${QB_WORKBOOK_SOURCES}/${package})
    set(${package}_SOURCE_DIR ${unpacked} PARENT_SCOPE)
    set(stamp ${unpacked}.unpacked)
    if(EXISTS ${stamp})
        file(READ ${stamp} unpacked_from)
        if(unpacked_from STREQUAL "${dsc} ${dsc_sha256}")
            return()
        endif()
    endif()
    set(downloads ${QB_WORKBOOK_SOURCES}/downloads)
    list(LENGTH arg_FILES count)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 3)
        math(EXPR j "${i} + 1")
        math(EXPR k "${i} + 2")
        list(GET arg_FILES ${i} name)
        list(GET arg_FILES ${j} sha256)
        list(GET arg_FILES ${k} sha1)
        set(file ${downloads}/${name})
        if(EXISTS ${file})
            file(SHA256 ${file} have)
            if(have STREQUAL sha256)
                continue()
            endif()
        endif()
        set(fetched FALSE)
        foreach(url http://deb.debian.org/debian/pool/main/${pool_dir}/${name}
                    http://snapshot.debian.org/file/${sha1})
            message(STATUS "Downloading ${url}")
            # (Checked here, not by EXPECTED_HASH, which fails the configure step even
            # when the next address serves the file.)
            file(DOWNLOAD ${url} ${file} STATUS status)
            list(GET status 0 code)
            if(code EQUAL 0)
                file(SHA256 ${file} have)
                if(have STREQUAL sha256)
                    set(fetched TRUE)
                    break()
                endif()
                set(status "the SHA-256 of what ${url} served is ${have}, not ${sha256}")
            endif()
            file(REMOVE ${file})
        endforeach()
        if(NOT fetched)
            message(FATAL_ERROR "Cannot download ${name} of Debian's source package ${package} "
                                "(last: ${status}).")
        endif()
    endforeach()
    file(REMOVE_RECURSE ${unpacked})
    execute_process(COMMAND dpkg-source --no-copy -x ${downloads}/${dsc} ${unpacked}
                    RESULT_VARIABLE failed OUTPUT_QUIET ERROR_VARIABLE errors)
    if(failed)
        message(FATAL_ERROR "dpkg-source could not unpack ${dsc}:\n${errors}")
    endif()
    file(WRITE ${stamp} "${dsc} ${dsc_sha256}")
endfunction()

qb_debian_source(minizip m/minizip FILES
    minizip_1.1-8+deb12u1.dsc
        1a518d106083cac24385382a34e0452b5a659919206a147a6f66d85d60adf135
        9ea14ec81dfacf2f3b1e2d6fc1466e128a83bd1c
    minizip_1.1.orig.tar.xz
        7d8da446d3b6799e7851f077a66551a46b80fc3de708549e79dbd3e49e842ba1
        22037612d49e9ddd70848eca9ad4ff5752c86897
    minizip_1.1-8+deb12u1.debian.tar.xz
        1a6f0cec9d51b9485d7a2f6c6fcf8240ab716854fe4640790838451f9f4b90fa
        a51618c9b34386599ee3e000a64df9e8b78b2df2)
qb_debian_source(expat e/expat FILES
    expat_2.5.0-1+deb12u2.dsc
        6fc87dbd01f49999ed368cfb37c08d35e41348dda2281d60642f3aa14cb77e32
        18f25a8bddbab814319785838ec5edca20be79b2
    expat_2.5.0.orig.tar.gz
        ab00ee05c7067fd10a35c5d2a4922ebba746ddd50ff83b79c828da17bbdf1757
        03d9882ede56aa48919fbf50fe17614630257a82
    expat_2.5.0-1+deb12u2.debian.tar.xz
        7e29f5db5067e55193540089ed0f3ec9676704cf79dcea81a9bfb9f49435ae53
        cb2054e2f4a6e77b65084f581b2aadd59b789b82)
qb_debian_source(libxlsxwriter libx/libxlsxwriter FILES
    libxlsxwriter_1.1.4-2.dsc
        8e53fa5625ec415e16f62411036de83eed6ec93a3499c4e159d5b119dbbc81ba
        c4ffab9a8246e96ab1bd0c50a30eff30ae0e870a
    libxlsxwriter_1.1.4.orig.tar.gz
        b379eb35fdd9c653ebe72485b9c992f612c7ea66f732784457997d6e782f619b
        90673c3dab35af3c11e16857af53a0ac9285d106
    libxlsxwriter_1.1.4-2.debian.tar.xz
        62db4901bf6049e2e33ef708d2d51b36cfb82e2bc10ed5f82be0cf9fe596e98b
        24472a85876f462e463d08359e6d9679654d6cbf)

# zlib: Debian's static MinGW library.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB 1.2.13 REQUIRED)

# Their headers as the Linux build includes them: <minizip/unzip.h>, <xlsxwriter.h>.
set(QB_WORKBOOK_INCLUDE ${CMAKE_BINARY_DIR}/windows-deps/workbook-include)
file(MAKE_DIRECTORY ${QB_WORKBOOK_INCLUDE})
file(CREATE_LINK ${minizip_SOURCE_DIR} ${QB_WORKBOOK_INCLUDE}/minizip SYMBOLIC)

# minizip, as Debian's Makefile.am builds it (zip, unzip and the I/O layer), with the Win32
# file functions beside. Its I/O layer opens files with fopen64, which on Windows reads a
# name in the ANSI code page: here it opens them as UTF-8 (src/system/fopen_utf8_windows.c).
add_library(qb_minizip STATIC ${minizip_SOURCE_DIR}/ioapi.c ${minizip_SOURCE_DIR}/iowin32.c
                              ${minizip_SOURCE_DIR}/mztools.c ${minizip_SOURCE_DIR}/unzip.c
                              ${minizip_SOURCE_DIR}/zip.c)
set_source_files_properties(${minizip_SOURCE_DIR}/ioapi.c PROPERTIES
                            COMPILE_DEFINITIONS fopen64=qb_fopen64_utf8)
target_include_directories(qb_minizip SYSTEM PUBLIC ${QB_WORKBOOK_INCLUDE})
target_compile_options(qb_minizip PRIVATE -w)
add_library(qb_fopen_utf8 STATIC ${PROJECT_SOURCE_DIR}/src/system/fopen_utf8_windows.c)
target_compile_options(qb_fopen_utf8 PRIVATE -Wall -Wextra -Wpedantic -Wconversion
                                             $<$<BOOL:${QB_WERROR}>:-Werror>)
target_link_libraries(qb_minizip PUBLIC ZLIB::ZLIB qb_fopen_utf8)

# expat by its own CMake files, as a static library (its target adds XML_STATIC to the
# programs that use it, so they do not look for a DLL). Debian builds expat with its
# configure script, which defines XML_DTD as 1, and Debian's security fixes test
# `#if XML_DTD == 1`; expat's CMake template defines it empty, which such a test cannot
# compile. Defined as 1 here, as upstream's template does since expat 2.6.0.
set(expat_config_template ${expat_SOURCE_DIR}/expat/expat_config.h.cmake)
file(READ ${expat_config_template} expat_config)
if(expat_config MATCHES "#cmakedefine XML_DTD\n")
    string(REPLACE "#cmakedefine XML_DTD\n" "#cmakedefine XML_DTD 1\n" expat_config
                   "${expat_config}")
    file(WRITE ${expat_config_template} "${expat_config}")
endif()
set(EXPAT_SHARED_LIBS OFF CACHE BOOL "" FORCE)
foreach(part TOOLS EXAMPLES TESTS DOCS FUZZERS PKGCONFIG)
    set(EXPAT_BUILD_${part} OFF CACHE BOOL "" FORCE)
endforeach()
set(EXPAT_ENABLE_INSTALL OFF CACHE BOOL "" FORCE)
add_subdirectory(${expat_SOURCE_DIR}/expat ${CMAKE_BINARY_DIR}/windows-deps/expat EXCLUDE_FROM_ALL)
target_compile_options(expat PRIVATE -w)

# libxlsxwriter as Debian configures it (USE_SYSTEM_MINIZIP: the minizip above, not the
# copy in its third_party folder), except that its own MD5 code stands in for OpenSSL's
# (used only to find repeated images; the workbooks have none).
file(GLOB xlsxwriter_sources ${libxlsxwriter_SOURCE_DIR}/src/*.c)
add_library(qb_xlsxwriter STATIC ${xlsxwriter_sources}
                                 ${libxlsxwriter_SOURCE_DIR}/third_party/md5/md5.c
                                 ${libxlsxwriter_SOURCE_DIR}/third_party/tmpfileplus/tmpfileplus.c)
target_compile_definitions(qb_xlsxwriter PRIVATE USE_SYSTEM_MINIZIP NOCRYPT NOUNCRYPT)
target_include_directories(qb_xlsxwriter SYSTEM PUBLIC ${libxlsxwriter_SOURCE_DIR}/include)
target_link_libraries(qb_xlsxwriter PUBLIC qb_minizip)
target_compile_options(qb_xlsxwriter PRIVATE -w)

add_library(qb_workbook_libs INTERFACE)
target_link_libraries(qb_workbook_libs INTERFACE qb_xlsxwriter qb_minizip expat)
