#pragma once
// The tree of command types, built from the root by following each
// configuration's subcommands; the built-in help command is the root's last
// child whenever the root has subcommands.

#include <memory>
#include <string_view>
#include <vector>

#include "ArgumentParser/ParsableCommand.hpp"

namespace ap {

class CommandTree {
public:
    struct Node {
        const CommandType* element = nullptr;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;

        /// The first child with this command name.
        const Node* child(std::string_view commandName) const;
        const Node* child(const CommandType& type) const;
        /// The command types from the root down to this node.
        std::vector<const CommandType*> stack() const;
    };

    /// Stops the program when a command lists itself among its subcommands.
    explicit CommandTree(const CommandType& root);

    const Node& root() const { return *root_; }
    /// The node of the first command of this type, depth first.
    const Node* find(const CommandType& type) const;

private:
    std::unique_ptr<Node> root_;
};

}  // namespace ap
