// The floor of the whole-process benchmarks for a dynamically linked C++
// program, built like varn (same compiler and flags) but linked dynamically,
// so the loader brings in and relocates the C++ runtime, as it did for varn
// before varn was linked statically; it does nothing.

#include <string>

int main(int argc, char** argv) {
    // Touches the C++ library, so no linker leaves it out.
    std::string name = argc > 0 ? argv[0] : "";
    return name.empty() ? 1 : 0;
}
