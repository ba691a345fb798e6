# Writes a C++ source whose functions return the bytes of files, so that the
# program carries the files it installs for the user.
#   cmake -DOUTPUT=out.cpp -DINCLUDE=platform/x.h -DFILES="function=path;..." -P embed_files.cmake
set(delimiter "pagora_file")
set(source "// Made by embed_files.cmake from the files it names; edit those instead.\n")
string(APPEND source "#include \"${INCLUDE}\"\n\nnamespace pagora {\n")
foreach(pair IN LISTS FILES)
  string(REPLACE "=" ";" parts "${pair}")
  list(GET parts 0 function)
  list(GET parts 1 path)
  file(READ "${path}" content)
  string(FIND "${content}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${path} holds the raw string delimiter")
  endif()
  string(APPEND source "\nstd::string_view ${function}() {\n"
                       "    return R\"${delimiter}(${content})${delimiter}\";\n}\n")
endforeach()
string(APPEND source "\n} // namespace pagora\n")
file(WRITE "${OUTPUT}.new" "${source}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
