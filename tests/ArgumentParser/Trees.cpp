#include "Trees.hpp"

namespace trees {

const CommandType* named(std::string_view name) {
    for (auto root : {&typeOf<URLNames>(), &typeOf<Parse>(), &typeOf<Layout>(), &typeOf<Plain>(), &typeOf<Plugin>(),
                      &typeOf<Kit>(), &typeOf<Described>(), &typeOf<Loop>(), &typeOf<EmptyShort>()})
        if (root->commandName() == name) return root;
    return nullptr;
}

}  // namespace trees
