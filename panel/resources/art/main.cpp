// Draws every Skelvan bitmap; the build embeds what it writes (see tools/CMakeLists.txt).
#include "pictures.h"

int main(int argc, char** argv) { return artkit::RunGenerator(argc, argv, skelvan_art::DrawAll()); }
