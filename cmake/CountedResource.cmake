# Script mode: writes a resource script holding one RCDATA resource NAME whose bytes are a 32-bit
# little-endian byte count followed by the bytes of INPUT (the layout of a counted binary value, such
# as a stored skin stream). Usage:
#   cmake -DNAME=DEFAULTSKIN -DINPUT=skins/default.skn -DOUTPUT=DefaultSkin.rc -P CountedResource.cmake
file(SIZE "${INPUT}" size)
file(READ "${INPUT}" hex HEX)
if(size GREATER 0 AND NOT hex)
  message(FATAL_ERROR "cannot read ${INPUT}")
endif()
# Resource data statements are 16-bit words: pad to an even length (the count says where the data ends).
math(EXPR odd "${size} % 2")
if(odd)
  string(APPEND hex "00")
endif()
string(REGEX REPLACE "(..)(..)" "0x\\2\\1," words "${hex}")
string(REGEX REPLACE "(0x....,0x....,0x....,0x....,0x....,0x....,0x....,0x....,0x....,0x....,0x....,0x....,)" "\\1\n  " words "${words}")
string(REGEX REPLACE ",[ \n]*$" "" words "${words}")
math(EXPR count "${size}" OUTPUT_FORMAT HEXADECIMAL)
set(body "// Made from ${INPUT} at build time: a 32-bit byte count, then the bytes.\n")
string(APPEND body "${NAME} RCDATA\nBEGIN\n  ${count}L")
if(size GREATER 0)
  string(APPEND body ",\n  ${words}")
endif()
string(APPEND body "\nEND\n")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
