#pragma once
// A diff link (the launcher's -u target): the stub parses it and logs the
// request. Its log detail is "repo=PATH revspecA=A revspecB=B paths=P1,P2"
// with "-" for an absent revision.

#include "tools/varnel-stub/Delivery.hpp"

namespace varnelstub {

extern const Delivery diffDelivery;

}  // namespace varnelstub
