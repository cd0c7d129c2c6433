#pragma once
// The JSON text of a difftool session record, read and written without
// building a JSON value first. A session grows by one entry per file of a
// git difftool run and is read and rewritten in full by every run, so a
// document tree of thousands of entries (and the memory the process would
// fault in for it) would be most of what a run costs. The text and the
// errors are those of the other records' value-based readers and writers.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.hpp"
#include "shared/DiffToolMetaData.hpp"

namespace VarnShared {

/// The compact text: members in key order, absent optionals left out.
platform::Result<std::string> encodeSessionRecord(const DiffToolMetaData& record);

/// Where the entries of `text` end (the offset of the "]" closing them),
/// when `text` is exactly what `encodeSessionRecord` writes for some
/// record; nothing otherwise. A run of a large session extends its record
/// as text, which costs a small part of decoding and encoding it.
std::optional<std::size_t> endOfEntriesInWrittenRecord(std::string_view text);

/// `text`, a written record whose entries end at `end`, with `entries`
/// appended: what `encodeSessionRecord` writes for the record with them.
/// Entries holding a text that is not UTF-8 are refused as it refuses them.
platform::Result<std::string> insertingEntries(std::string text, std::size_t end,
                                               const std::vector<DiffToolMetaData::Entry>& entries);

/// The record in `bytes`. Members are found by name in any order (the last
/// of a repeated name counts), unknown ones are skipped, null is absent;
/// the first error is the one a reader going member by member would meet.
platform::Result<DiffToolMetaData> decodeSessionRecord(std::string_view bytes, const std::string& source);

}  // namespace VarnShared
