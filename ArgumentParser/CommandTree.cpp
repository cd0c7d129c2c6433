#include "ArgumentParser/CommandTree.hpp"

#include "ArgumentParser/Fatal.hpp"
#include "ArgumentParser/HelpCommand.hpp"

namespace ap {
namespace {

void addChildren(CommandTree::Node& node) {
    for (auto ref : node.element->configuration().subcommands) {
        const auto& type = ref();
        for (auto n = &node; n; n = n->parent)
            if (n->element == &type)
                fatalError("The ParsableCommand \"" + type.typeName() + "\" can't have itself as its own subcommand.");
        auto child = std::make_unique<CommandTree::Node>();
        child->element = &type;
        child->parent = &node;
        addChildren(*child);
        node.children.push_back(std::move(child));
    }
}

const CommandTree::Node* findIn(const CommandTree::Node& node, const CommandType& type) {
    if (node.element == &type) return &node;
    for (const auto& c : node.children)
        if (auto found = findIn(*c, type)) return found;
    return nullptr;
}

}  // namespace

const CommandTree::Node* CommandTree::Node::child(std::string_view commandName) const {
    for (const auto& c : children)
        if (c->element->commandName() == commandName) return c.get();
    return nullptr;
}

const CommandTree::Node* CommandTree::Node::child(const CommandType& type) const {
    for (const auto& c : children)
        if (c->element == &type) return c.get();
    return nullptr;
}

std::vector<const CommandType*> CommandTree::Node::stack() const {
    std::vector<const CommandType*> result;
    for (auto n = this; n; n = n->parent) result.insert(result.begin(), n->element);
    return result;
}

CommandTree::CommandTree(const CommandType& root) : root_(std::make_unique<Node>()) {
    root_->element = &root;
    addChildren(*root_);
    if (!root_->children.empty()) {
        auto help = std::make_unique<Node>();
        help->element = &typeOf<HelpCommand>();
        help->parent = root_.get();
        root_->children.push_back(std::move(help));
    }
}

const CommandTree::Node* CommandTree::find(const CommandType& type) const { return findIn(*root_, type); }

}  // namespace ap
