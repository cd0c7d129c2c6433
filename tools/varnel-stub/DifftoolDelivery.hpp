#pragma once
// A difftool session directory: the stub shows the file pairs that are new
// since it last looked at the session. It keeps the record it saw last in
// ".varnel-stub-shown" beside the session's record, and works under the
// session's lock, so deliveries of one session that overlap each show
// their own pairs and none twice.
//
// Each new pair is logged on a line of its own, detail
// "pair local=L remote=R merged=M"; the delivery's own line then says
// "shown N of M entries".

#include "tools/varnel-stub/Delivery.hpp"

namespace varnelstub {

extern const Delivery difftoolDelivery;

}  // namespace varnelstub
