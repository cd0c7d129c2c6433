#pragma once
// A merge hand-off directory: the stub reads the record and reports an
// outcome as VARNEL_STUB_MERGE asks:
//
//   ours (the default), theirs   resolve every conflict block in the file
//                                to merge keeping that side, then report ok
//   ok, error, failedToOpen,     report that result
//   didNotResolve
//   an integer                   report that number
//   none                         report nothing (the tool keeps waiting)
//
// A file that cannot be read or written, or is no regular file (a named
// pipe, a device), is reported as failedToOpen, one whose blocks cannot be
// made out as error, and so is an unknown request, so that the waiting tool
// always hears back. Its log detail is
// "ACTION -> STATUS", STATUS being the number reported or "none".

#include "tools/varnel-stub/Delivery.hpp"

namespace varnelstub {

extern const Delivery mergeDelivery;

}  // namespace varnelstub
