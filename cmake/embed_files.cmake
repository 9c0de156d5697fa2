# Writes OUTPUT, a C++ source holding each of the INPUTS (a ;-list of files in
# INPUT_DIR, comma-separated) as a byte array, and a lookup by file name.
# cmake -DINPUT_DIR=... -DINPUTS=a,b -DOUTPUT=... -DFUNCTION=Name -P embed_files.cmake
string(REPLACE "," ";" INPUTS "${INPUTS}")
set(body "")
set(cases "")
set(index 0)
foreach(name IN LISTS INPUTS)
  file(READ "${INPUT_DIR}/${name}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Break the array into lines so compilers and editors stay happy.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
  string(APPEND body "const unsigned char kFile${index}[${size}] = {\n${bytes}\n};\n")
  string(APPEND cases "  if (name == \"${name}\")\n    return {kFile${index}, ${size}};\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT_DIR} at build time; do not edit.\n"
  "#include <cstdint>\n#include <span>\n#include <string_view>\n\n"
  "namespace zcd {\nnamespace {\n${body}}  // namespace\n\n"
  "std::span<const uint8_t> ${FUNCTION}(std::string_view name) {\n${cases}"
  "  return {};\n}\n\n}  // namespace zcd\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
