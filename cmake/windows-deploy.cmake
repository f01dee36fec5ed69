# Puts beside a Windows program the DLLs it needs, found from what it really imports
# (objdump -p), so that a missing DLL fails the build rather than the user's first start.
# Qt's plugins are named (platforms/qwindows, styles/qwindowsvistastyle, ...); the Qt and
# MinGW runtime DLLs that the program and its plugins import, and what those import in
# turn, are copied. A DLL of Windows itself (one MinGW has an import library for, or an
# API set, api-ms-win-*) stays out. The files copied are listed in PROGRAM.exe.deployed.
#
# In the build: qb_deploy_windows_dlls(TARGET [PLUGIN ...])
# As a script:  cmake -DPROGRAM=X.exe -DPLUGINS=a|b -DQT_PREFIX=... -DRUNTIME_DIRS=a|b
#                     -DIMPORT_LIBS=... -DOBJDUMP=... -P windows-deploy.cmake

if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.25)
    # Lists arrive with "|" between their items.
    string(REPLACE "|" ";" PLUGINS "${PLUGINS}")
    string(REPLACE "|" ";" RUNTIME_DIRS "${RUNTIME_DIRS}")
    get_filename_component(destination "${PROGRAM}" DIRECTORY)
    set(deployed "")
    set(queue "${PROGRAM}")
    foreach(plugin IN LISTS PLUGINS)
        set(source "${QT_PREFIX}/plugins/${plugin}.dll")
        if(NOT EXISTS "${source}")
            message(FATAL_ERROR "The Qt plugin ${plugin} is not in ${QT_PREFIX}/plugins")
        endif()
        get_filename_component(folder "${plugin}" DIRECTORY)
        file(MAKE_DIRECTORY "${destination}/${folder}")
        file(COPY_FILE "${source}" "${destination}/${plugin}.dll" ONLY_IF_DIFFERENT)
        list(APPEND deployed "${plugin}.dll")
        list(APPEND queue "${destination}/${plugin}.dll")
    endforeach()
    set(seen "")
    while(queue)
        list(POP_FRONT queue file)
        execute_process(COMMAND "${OBJDUMP}" -p "${file}" OUTPUT_VARIABLE dump
                        RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "${OBJDUMP} cannot read ${file}")
        endif()
        string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
        foreach(import IN LISTS imports)
            string(REPLACE "DLL Name: " "" dll "${import}")
            string(STRIP "${dll}" dll)
            string(TOLOWER "${dll}" lower)
            if(lower IN_LIST seen)
                continue()
            endif()
            list(APPEND seen "${lower}")
            set(found "")
            foreach(folder "${QT_PREFIX}/bin" ${RUNTIME_DIRS})
                if(EXISTS "${folder}/${dll}")
                    set(found "${folder}/${dll}")
                    break()
                endif()
            endforeach()
            string(REGEX REPLACE "\\.dll$" "" base "${lower}")
            if(found)
                file(COPY_FILE "${found}" "${destination}/${dll}" ONLY_IF_DIFFERENT)
                list(APPEND deployed "${dll}")
                list(APPEND queue "${found}")
            elseif(NOT lower MATCHES "^(api|ext)-ms-win-" AND NOT EXISTS "${IMPORT_LIBS}/lib${base}.a")
                get_filename_component(name "${file}" NAME)
                message(FATAL_ERROR "${name} imports ${dll}, which is neither a part of Windows "
                                    "nor in Qt (${QT_PREFIX}/bin) or MinGW's runtime (${RUNTIME_DIRS})")
            endif()
        endforeach()
    endwhile()
    list(SORT deployed)
    list(JOIN deployed "\n" text)
    file(WRITE "${PROGRAM}.deployed" "${text}\n")
    return()
endif()

# The folders of MinGW's runtime DLLs (libstdc++-6.dll, libgcc_s_seh-1.dll,
# libwinpthread-1.dll), as the compiler finds them.
set(QB_MINGW_RUNTIME_DIRS "")
foreach(runtime_dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime_dll}
                    OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}" OR NOT EXISTS "${runtime_path}")
        # (Debian keeps libwinpthread-1.dll beside the import libraries.)
        set(runtime_path /usr/x86_64-w64-mingw32/lib/${runtime_dll})
    endif()
    get_filename_component(runtime_path "${runtime_path}" REALPATH)
    get_filename_component(runtime_dir "${runtime_path}" DIRECTORY)
    list(APPEND QB_MINGW_RUNTIME_DIRS "${runtime_dir}")
endforeach()
list(REMOVE_DUPLICATES QB_MINGW_RUNTIME_DIRS)
find_program(QB_OBJDUMP NAMES x86_64-w64-mingw32-objdump REQUIRED)

function(qb_deploy_windows_dlls target)
    string(REPLACE ";" "|" plugins "${ARGN}")
    string(REPLACE ";" "|" runtime_dirs "${QB_MINGW_RUNTIME_DIRS}")
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} "-DPROGRAM=$<TARGET_FILE:${target}>" "-DPLUGINS=${plugins}"
                "-DQT_PREFIX=${QB_QT_WINDOWS_PREFIX}" "-DRUNTIME_DIRS=${runtime_dirs}"
                "-DIMPORT_LIBS=/usr/x86_64-w64-mingw32/lib" "-DOBJDUMP=${QB_OBJDUMP}"
                -P ${PROJECT_SOURCE_DIR}/cmake/windows-deploy.cmake
        COMMENT "Putting the DLLs $<TARGET_FILE_NAME:${target}> imports beside it"
        VERBATIM)
endfunction()
