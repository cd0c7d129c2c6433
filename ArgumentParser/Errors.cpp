#include "ArgumentParser/Errors.hpp"

namespace ap {

std::string CleanExit::description() const {
    if (auto m = std::get_if<Message>(&base)) return m->text;
    if (std::holds_alternative<DumpRequest>(base)) return "--experimental-dump-help";
    return "--help";
}

}  // namespace ap
