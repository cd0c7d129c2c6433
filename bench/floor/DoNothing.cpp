// The floor of the whole-process benchmarks: a C++ program built like varn
// (same compiler, flags and link model, so the C++ runtime is loaded and
// started as for varn), doing nothing.

#include <string>

int main(int argc, char** argv) {
    // Touches the C++ library, so no linker leaves it out.
    std::string name = argc > 0 ? argv[0] : "";
    return name.empty() ? 1 : 0;
}
