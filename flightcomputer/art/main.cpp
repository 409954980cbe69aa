// Build-time generator of the Q4d module's bitmaps.
#include "q4d_art.h"

int main(int argc, char** argv) { return artkit::RunGenerator(argc, argv, q4d::Pictures()); }
