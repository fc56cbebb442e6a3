// A tiny loadable library for the tests of library loading and version
// records.
extern "C" __attribute__((visibility("default"))) int vantryTestModuleAnswer() { return 42; }
