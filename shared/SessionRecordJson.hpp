#pragma once
// The JSON text of a difftool session record, read and written without
// building a JSON value first. A session grows by one entry per file of a
// git difftool run and is read and rewritten in full by every run, so a
// document tree of thousands of entries (and the memory the process would
// fault in for it) would be most of what a run costs. The text and the
// errors are those of the other records' value-based readers and writers.

#include <string>
#include <string_view>

#include "platform/Error.hpp"
#include "shared/DiffToolMetaData.hpp"

namespace VarnShared {

/// The compact text: members in key order, absent optionals left out.
platform::Result<std::string> encodeSessionRecord(const DiffToolMetaData& record);

/// The record in `bytes`. Members are found by name in any order (the last
/// of a repeated name counts), unknown ones are skipped, null is absent;
/// the first error is the one a reader going member by member would meet.
platform::Result<DiffToolMetaData> decodeSessionRecord(std::string_view bytes, const std::string& source);

}  // namespace VarnShared
