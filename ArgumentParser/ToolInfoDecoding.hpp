#pragma once
// Reading the records of the command description back from JSON values, for
// tools that consume the description: the platform's JSON object reader,
// under the names the records use.

#include "platform/JsonObjectReader.hpp"

namespace ap {

using DecodingError = platform::JsonDecodingError;
template <class T>
using Decoded = platform::JsonDecoded<T>;
using ObjectReader = platform::JsonObjectReader;
using platform::codingPath;
using platform::decodeList;

}  // namespace ap
