# Writes INPUT as a C++ byte array into OUTPUT (cmake -DINPUT=... -DOUTPUT=... -P EmbedFile.cmake).
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${INPUT}; do not edit.\n"
  "#include \"server/SatelliteImage.h\"\n\n"
  "namespace {\nconst unsigned char kBytes[${size}] = {\n  ${bytes}\n};\n}\n\n"
  "std::string_view ws::satelliteJpeg()\n{\n"
  "    return {reinterpret_cast<const char*>(kBytes), sizeof kBytes};\n}\n")
