#pragma once
// The files a delivery reads and writes (records, the file to merge, the
// log) are regular files, opened without blocking: a named pipe or a device
// in their place is refused at once, instead of holding the stub, and the
// tool waiting for its answer, until someone opens the other end.

#include <string>
#include <string_view>

#include "platform/Error.hpp"
#include "platform/FileDescriptor.hpp"
#include "shared/HandOffDirectory.hpp"

namespace varnelstub {

/// The regular file at `path`, opened with `flags` (and mode 0666 when it
/// is created). `what` begins every error, as in "Cannot read file PATH".
platform::Result<platform::FileDescriptor> openRegularFile(const std::string& path, int flags, const std::string& what);

/// The whole content of the regular file at `path`.
platform::Result<std::string> readRegularFile(const std::string& path);

/// Replaces the content of the regular file at `path`, which may not be a
/// link, in place, as an editor saves: the file keeps its mode.
platform::Result<void> rewriteRegularFile(const std::string& path, std::string_view contents);

/// The metadata file `fileName` in `directory`, decoded as a `Record`.
template <class Record>
platform::Result<Record> readRecord(const std::string& directory, std::string_view fileName) {
    auto path = VarnShared::metadataFilePath(directory, fileName);
    auto bytes = readRegularFile(path);
    if (!bytes) return std::move(bytes).error();
    return Record::decode(*bytes, path);
}

}  // namespace varnelstub
