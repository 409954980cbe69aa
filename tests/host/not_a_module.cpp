// A shared library that exports none of a gauge module's names.
extern "C" __attribute__((visibility("default"))) int NotAModule() { return 1; }
