// Built with nothing but the header a tool author includes: a template
// there that needs a header it does not include fails to build here, where
// no later include can supply it before the templates are instantiated.
#include "ArgumentParser/Declarations.hpp"

namespace publicheader {
namespace {

struct Repeat : ap::ParsableCommand {
    static constexpr std::string_view typeName = "Repeat";
    static ap::CommandConfiguration configuration() { return {.commandName = "repeat"}; }
    static void arguments(ap::Arguments<Repeat>& a) {
        a.option("count", &Repeat::count, {}, [](std::string_view text) -> ap::Conversion<int> {
            if (auto n = ap::ArgumentValue<int>::parse(text)) return *n;
            return ap::ConversionError{"Not a whole number."};
        });
        a.argument("delays", &Repeat::delays);
    }
    std::optional<int> count;
    std::vector<unsigned> delays;
};

}  // namespace

const ap::CommandType& repeat() { return ap::typeOf<Repeat>(); }

}  // namespace publicheader
