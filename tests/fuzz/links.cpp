// URL text from anywhere: split into components and built back, percent
// escapes undone and redone, and every reader of incoming links and hand-off
// URLs given the result. A diff link that parses must come back the same
// when it is built again from what was read (the repository as a path).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Url.hpp"
#include "platform/Utf8.hpp"
#include "shared/DiffLink.hpp"
#include "shared/HistoryLink.hpp"
#include "shared/IncomingHandOff.hpp"
#include "shared/MergeLink.hpp"
#include "shared/MergeToolCallbackData.hpp"
#include "shared/UniversalLinks.hpp"

namespace {

void checkEscaping(std::string_view text) {
    if (!platform::isValidUtf8(text)) return;
    for (auto part : {platform::UrlPart::path, platform::UrlPart::queryItem, platform::UrlPart::host}) {
        auto decoded = platform::percentDecoded(platform::percentEncoded(text, part));
        if (!decoded || *decoded != text) __builtin_trap();
    }
}

void checkComponents(std::string_view text) {
    auto components = platform::UrlComponents::split(text);
    if (!components) return;
    // Nothing is normalised: the parts make up the text they came from.
    auto rebuilt = components->string();
    if (!rebuilt || *rebuilt != text) __builtin_trap();
    (void)components->host();
    (void)components->path();
    (void)components->queryItems();
}

/// `path` with each run of "/" written as one: the same directory. An escaped
/// "/" inside a segment ("a%2Fb") reads back as a separator.
std::string collapsed(std::string_view path) {
    std::string text;
    for (char c : path)
        if (c != '/' || text.empty() || text.back() != '/') text += c;
    return text;
}

void checkDiffLink(const platform::Url& url) {
    auto link = VarnShared::parseDiffLink(url);
    if (!link) return;
    auto repo = link->repo.filePath();
    if (!repo) __builtin_trap();
    auto again = VarnShared::diffLink(*repo, link->revspecA, link->revspecB, link->paths);
    if (!again) __builtin_trap();
    auto reread = VarnShared::parseDiffLink(*again);
    auto rereadRepo = reread ? reread->repo.filePath() : std::nullopt;
    if (!reread || !rereadRepo || collapsed(*rereadRepo) != collapsed(*repo) || reread->revspecA != link->revspecA ||
        reread->revspecB != link->revspecB || reread->paths != link->paths)
        __builtin_trap();
}

void readLink(const platform::Url& url) {
    (void)url.path();
    (void)url.pathComponents();
    (void)url.queryItems();
    (void)url.filePath();
    (void)VarnShared::isUniversalLink(url);
    (void)VarnShared::linkSubject(url);
    checkDiffLink(url);
    (void)VarnShared::parseMergeLink(url);
    (void)VarnShared::parseHistoryLink(url);
    (void)VarnShared::MergeToolCallbackData::fromURL(url);
    (void)VarnShared::repositoryURL(url);
    (void)VarnShared::targetFileURL(url);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    checkEscaping(text);
    checkComponents(text);
    auto url = platform::Url::parse(text);
    if (!url) return 0;
    if (url->string() != text) __builtin_trap();
    readLink(*url);
    return 0;
}
