// varnel-stub: the stand-in for the desktop application. The launcher
// starts it with one target, a hand-off directory or a link; the first
// delivery kind that accepts the target acts on it, and each delivery is
// noted in the log (DeliveryLog.hpp). Exits 0 when the delivery was handled,
// 1 with one line on standard error when it went wrong or no kind accepts
// the target, 2 for bad usage.

#include <cstdio>
#include <string>

#include "tools/varnel-stub/Delivery.hpp"
#include "tools/varnel-stub/DeliveryLog.hpp"
#include "tools/varnel-stub/DiffDelivery.hpp"
#include "tools/varnel-stub/DifftoolDelivery.hpp"
#include "tools/varnel-stub/MergeDelivery.hpp"

namespace {

/// Every kind of delivery the stub understands, asked in this order.
const varnelstub::Delivery* const deliveries[] = {&varnelstub::mergeDelivery, &varnelstub::diffDelivery,
                                                  &varnelstub::difftoolDelivery};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnel-stub TARGET\n");
        return 2;
    }
    std::string target = argv[1];
    for (const auto* delivery : deliveries) {
        if (!delivery->accepts(target)) continue;
        auto done = delivery->deliver(target);
        if (!done) {
            varnelstub::appendToLog(delivery->kind, target, "failed: " + done.error().description);
            std::fprintf(stderr, "varnel-stub: %s\n", done.error().description.c_str());
            return 1;
        }
        varnelstub::appendToLog(delivery->kind, target, *done);
        return 0;
    }
    varnelstub::appendToLog("unknown", target, "no delivery of this kind");
    std::fprintf(stderr, "varnel-stub: nothing to do with %s\n", target.c_str());
    return 1;
}
