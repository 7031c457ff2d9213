# Writes OUTPUT, a C++ file defining the NUL-terminated char array NAME that holds the bytes of
# INPUT. Run with cmake -P at build time.
file(READ ${INPUT} content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT_NAME} by the build; do not edit.\nextern const char ${NAME}[];\nconst char ${NAME}[] = {\n${bytes}0x00};\n")
