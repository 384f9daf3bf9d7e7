# cmake -P embed_bytes.cmake -- <output.cpp> <header> <function> <file> [<function> <file>]...
# Writes a source file in which each <function>() returns the bytes of its
# <file> as a std::string; a build step runs it when a file changes.
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(index RANGE 4 ${last})  # past "cmake -P embed_bytes.cmake --"
  list(APPEND arguments ${CMAKE_ARGV${index}})
endforeach()
list(POP_FRONT arguments output header)
set(text "// Made by cmake/embed_bytes.cmake from the files named below.\n#include \"${header}\"\n\nnamespace nerbo {\n")
while(arguments)
  list(POP_FRONT arguments function file)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  get_filename_component(name ${file} NAME)
  string(APPEND text "\n// ${name}\nstd::string ${function}() {\n  static const char bytes[] = {${bytes}};\n  return std::string(bytes, sizeof bytes);\n}\n")
endwhile()
string(APPEND text "\n}  // namespace nerbo\n")
file(WRITE ${output} "${text}")
