# Turns the \patterns{...} block of the TeX hyphenation file into a C++ source
# with the patterns as a constant array, grouped by the first letter of each
# pattern's letter form ("." first, then a to z), file order kept inside a group.
# The \hyphenation{...} exception block is not used.
#
#   cmake -DINPUT=hyphen.tex -DOUTPUT=HyphenPatterns.cpp -P GeneratePatterns.cmake
if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "GeneratePatterns: INPUT and OUTPUT must be given")
endif()

file(READ "${INPUT}" content)
string(FIND "${content}" "\\patterns{" open)
if(open EQUAL -1)
  message(FATAL_ERROR "GeneratePatterns: no \\patterns{ block in ${INPUT}")
endif()
math(EXPR open "${open} + 10")
string(SUBSTRING "${content}" ${open} -1 rest)
string(FIND "${rest}" "}" close)
if(close EQUAL -1)
  message(FATAL_ERROR "GeneratePatterns: the \\patterns block in ${INPUT} is not closed")
endif()
string(SUBSTRING "${rest}" 0 ${close} body)
# Comments run from % to the end of the line.
string(REGEX REPLACE "%[^\n]*" "" body "${body}")
string(REGEX MATCHALL "[^ \t\r\n]+" tokens "${body}")

set(letters . a b c d e f g h i j k l m n o p q r s t u v w x y z)
foreach(l IN LISTS letters)
  set(group_${l} "")
endforeach()
set(count 0)
foreach(p IN LISTS tokens)
  if(NOT p MATCHES "^[.a-z1-9]+$")
    message(FATAL_ERROR "GeneratePatterns: unexpected pattern '${p}'")
  endif()
  string(REGEX REPLACE "[1-9]" "" form "${p}")
  string(LENGTH "${form}" formLength)
  if(formLength EQUAL 0)
    message(FATAL_ERROR "GeneratePatterns: pattern '${p}' has no letters")
  endif()
  string(SUBSTRING "${form}" 0 1 first)
  string(APPEND group_${first} "    \"${p}\",\n")
  math(EXPR count "${count} + 1")
endforeach()

set(out "// Generated from hyphen.tex by cmake/GeneratePatterns.cmake. Do not edit.\n")
string(APPEND out "#include \"text/HyphenPatterns.h\"\n\n")
string(APPEND out "namespace versilla::text {\n\n")
string(APPEND out "const std::string_view kHyphenPatterns[] = {\n")
foreach(l IN LISTS letters)
  string(APPEND out "${group_${l}}")
endforeach()
string(APPEND out "};\n\nconst std::size_t kHyphenPatternCount = ${count};\n\n")
string(APPEND out "static_assert(sizeof(kHyphenPatterns) / sizeof(kHyphenPatterns[0]) == ${count});\n\n")
string(APPEND out "} // namespace versilla::text\n")

file(WRITE "${OUTPUT}" "${out}")
