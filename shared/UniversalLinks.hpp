#pragma once
// The layout of the universal links: "https" on the link host, the path "/",
// kind, "/" and subject, and the query items of each kind. What every kind
// of link shares lives here; each kind has its own file.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Url.hpp"

namespace VarnShared {

enum class LinkKind { diff, merge, history };

/// "diff", "merge" or "history".
std::string_view linkKindName(LinkKind kind);

/// Scheme, host and path "/" + kind + "/" + subject, no query. A subject that
/// begins with "/" gives a doubled slash after the kind.
platform::UrlComponents linkComponents(LinkKind kind, std::string_view subject);

/// The scheme is exactly "https" and the host exactly the link host.
bool isUniversalLink(const platform::Url& url);
/// A universal link whose second path component is exactly the kind.
bool isUniversalLink(const platform::Url& url, LinkKind kind);

/// "/" followed by the decoded path components after the kind, joined with
/// "/" (doubled slashes disappear); nothing when the path does not decode.
std::optional<std::string> linkSubject(const platform::Url& url);

/// A link of `kind` for `subject` with the one query item "repo" (the forms
/// of merge and history links).
std::optional<platform::Url> subjectLink(LinkKind kind, std::string_view subject, std::string_view repo);
/// As above with the path of the file URL `repo`.
std::optional<platform::Url> subjectLink(LinkKind kind, std::string_view subject, const platform::Url& repo);
/// As above with the repository path `repo` made an absolute path without a
/// trailing "/".
std::optional<platform::Url> subjectLinkInRepository(LinkKind kind, std::string_view subject, const std::string& repo);

/// The subject and repository of a merge or history link, as file URLs.
struct SubjectAndRepository {
    platform::Url subject;
    platform::Url repo;
};

/// Nothing unless `url` is a link of `kind` whose "repo" item has a value.
std::optional<SubjectAndRepository> parseSubjectLink(const platform::Url& url, LinkKind kind);

}  // namespace VarnShared
