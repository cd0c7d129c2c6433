#pragma once
// varn-man's command line: the description to read, the page to write and
// the footer's texts.

#include <optional>
#include <string>

#include "ArgumentParser/Declarations.hpp"

namespace varnman {

struct VarnManCommand : ap::ParsableCommand {
    static constexpr std::string_view typeName = "VarnManCommand";
    static ap::CommandConfiguration configuration();
    static void arguments(ap::Arguments<VarnManCommand>& a);

    std::optional<std::string> input;
    std::optional<std::string> output;
    std::string date;
    std::string source;

    ap::Result<void> run() override;
};

}  // namespace varnman
