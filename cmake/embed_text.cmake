# Writes OUTPUT, a C++ source that defines FUNCTION() returning the bytes of INPUT as a
# std::string_view in namespace qb. Run as a script: cmake -DINPUT=... -DOUTPUT=...
# -DFUNCTION=... -P embed_text.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
file(WRITE "${OUTPUT}.tmp"
     "// Made from ${INPUT} at build time.\n#include <string_view>\n\nnamespace qb {\n"
     "namespace {\nconstexpr char kText[${size}] = {${bytes}};\n}\n"
     "std::string_view ${FUNCTION}() { return {kText, ${size}}; }\n}\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
