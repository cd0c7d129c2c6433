// greet: a command declared with the ArgumentParser framework. The
// declaration below is all there is: parsing, help, usage, error messages,
// --version and the completion scripts for bash, zsh and fish follow from it.
//
//   greet Ada --times 2 --shout
//   greet --help
//   greet --generate-completion-script bash

#include <cctype>
#include <string>

#include "ArgumentParser/Declarations.hpp"
#include "ArgumentParser/ExitRoutine.hpp"

struct Greet : ap::ParsableCommand {
    static constexpr std::string_view typeName = "Greet";
    static ap::CommandConfiguration configuration() {
        return {.commandName = "greet",
                .abstract = "Greet someone, once or more.",
                .discussion = "Each greeting is a line of its own.",
                .version = "1.0"};
    }
    static void arguments(ap::Arguments<Greet>& a) {
        a.argument("name", &Greet::name, {.help = "Who to greet."});
        a.option("times", &Greet::times,
                 {.name = ap::NameSpecification::shortAndLong(), .help = "How many times.", .defaulted = true});
        a.option("from", &Greet::from,
                 {.help = "Who the greeting is from.", .completion = ap::CompletionKind::list({"Ada", "Grace"})});
        a.flag("shout", &Greet::shout, {.help = "Greet in capitals."});
    }

    std::string name;
    int times = 1;
    std::optional<std::string> from;
    bool shout = false;

    // Reported with the usage, exit status 64, like a parse error.
    ap::Result<void> validate() override {
        if (times < 1) return ap::ValidationError{"--times must be at least 1."};
        return {};
    }

    ap::Result<void> run() override {
        std::string line = "Hello, " + name + "!";
        if (from) line += " (from " + *from + ")";
        if (shout)
            for (auto& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string text;
        for (int i = 0; i < times; ++i) text += (i ? "\n" : "") + line;
        return ap::CleanExit::message(text);
    }
};

int main(int argc, char** argv) { ap::main(ap::typeOf<Greet>(), argc, argv); }
