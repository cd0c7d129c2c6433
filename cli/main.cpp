#include "ArgumentParser/ExitRoutine.hpp"
#include "cli/TarqCLI.hpp"
#include "platform/ProcessInfo.hpp"

int main(int argc, char** argv) {
    platform::recordProcessArguments(argc, argv);
    ap::main(ap::typeOf<varn::TarqCLI>(), argc, argv);
}
