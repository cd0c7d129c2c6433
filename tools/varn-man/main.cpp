// varn-man: writes the manual page of varn from its command description.
#include "ArgumentParser/ExitRoutine.hpp"
#include "tools/varn-man/VarnManCommand.hpp"

int main(int argc, char** argv) { ap::main(ap::typeOf<varnman::VarnManCommand>(), argc, argv); }
