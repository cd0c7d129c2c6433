#include "ArgumentParser/ExitRoutine.hpp"
#include "cli/RootCommand.hpp"
#include "platform/ProcessInfo.hpp"
#include "platform/StandardOutput.hpp"

int main(int argc, char** argv) {
    // git believes the exit status: output that cannot be written is
    // reported at the end of the run, after the hand-off, never a silent
    // death by SIGPIPE half-way through it.
    platform::prepareStandardStreams();
    platform::recordProcessArguments(argc, argv);
    ap::main(ap::typeOf<varn::TarqCLI>(), argc, argv);
}
