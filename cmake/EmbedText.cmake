# Turns a text file into a C++ source that defines it as one string constant.
# Included with INPUT, OUTPUT and SYMBOL set; the output is rewritten only when it changes.
file(READ "${INPUT}" content)
set(delimiter "ZRVN")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} at build time; edit that file instead.\n"
  "#include <string_view>\n"
  "namespace zorvan {\n"
  "extern const std::string_view ${SYMBOL};\n"
  "const std::string_view ${SYMBOL} = R\"${delimiter}(${content})${delimiter}\";\n"
  "}  // namespace zorvan\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
