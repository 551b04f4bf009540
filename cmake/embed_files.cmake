# Writes OUTPUT, a C++ source that holds each file of FILES (NAME=PATH
# entries parted by "|") as the bytes of a char array, and a function NAME() that gives
# them as a std::string_view. Run as cmake -DOUTPUT=... -DHEADER=...
# -DFILES=... -P embed_files.cmake; the files stay the page's source.
set(text "// Made by cmake/embed_files.cmake from the files it names.\n#include \"${HEADER}\"\n\nnamespace quorvel {\n")
string(REPLACE "|" ";" entries "${FILES}")
foreach(entry IN LISTS entries)
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 path)
  file(READ "${path}" bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
  string(REGEX REPLACE "(('[^']*',){16})" "\\1\n    " bytes "${bytes}")
  string(APPEND text "\nnamespace {\nconstexpr char ${name}Bytes[] = {\n    ${bytes}};\n}  // namespace\n"
         "std::string_view ${name}() { return {${name}Bytes, sizeof ${name}Bytes}; }\n")
endforeach()
string(APPEND text "\n}  // namespace quorvel\n")
file(WRITE "${OUTPUT}.new" "${text}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
