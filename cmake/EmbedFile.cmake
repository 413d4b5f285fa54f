# Writes INPUT's bytes as a C++ array named NAME (and NAME_size) to OUTPUT.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
file(WRITE ${OUTPUT} "#include <stddef.h>\nextern const unsigned char ${NAME}[] = {${bytes}};\nextern const size_t ${NAME}_size = ${size};\n")
