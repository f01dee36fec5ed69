/* minizip opens the files it zips or unzips by name with the C library's fopen64, and
 * libxlsxwriter hands it the workbook's name as it was given: UTF-8, as every path in
 * Quillbay. Windows' fopen64 reads a name in the ANSI code page, so a workbook named
 * outside it ("Müller Ωμέγα.xlsx") would be written under a garbled name, or not at all.
 * The Windows build compiles minizip's ioapi.c with fopen64 renamed to this function
 * (cmake/windows-workbook-libs.cmake), which opens the name as UTF-8. */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

FILE* qb_fopen64_utf8(const char* name, const char* mode) {
    const int nameLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, NULL, 0);
    const int modeLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, mode, -1, NULL, 0);
    if (nameLength == 0 || modeLength == 0) {
        return NULL; /* not UTF-8: no file of that name can be reached */
    }
    wchar_t* wideName = malloc(sizeof(wchar_t) * (size_t)nameLength);
    wchar_t* wideMode = malloc(sizeof(wchar_t) * (size_t)modeLength);
    FILE* file = NULL;
    if (wideName != NULL && wideMode != NULL &&
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wideName, nameLength) ==
            nameLength &&
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, mode, -1, wideMode, modeLength) ==
            modeLength) {
        file = _wfopen(wideName, wideMode);
    }
    free(wideName);
    free(wideMode);
    return file;
}
