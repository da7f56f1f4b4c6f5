// The image decoder compiled into the fuzz target itself, so that libFuzzer
// sees coverage inside it (the system library is not instrumented). Its
// definitions take the place of the shared library's for this program.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
