// The links the application reads back: what each part of a link means,
// and what makes a link no request. How the tool builds a diff link is
// checked end to end.

#include "shared/UniversalLinks.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Url.hpp"
#include "shared/DiffLink.hpp"
#include "shared/HistoryLink.hpp"
#include "shared/IncomingHandOff.hpp"
#include "shared/MergeLink.hpp"
#include "shared/MergeToolCallbackData.hpp"

using namespace VarnShared;
using platform::Url;
using Paths = std::vector<std::string>;

namespace {

Url url(const std::string& text) {
    auto parsed = Url::parse(text);
    EXPECT_TRUE(parsed) << text;
    return parsed ? *parsed : *Url::parse("about:blank");
}

std::string link(const std::string& pathAndQuery) { return std::string("https://") + VARN_LINK_HOST + pathAndQuery; }

std::optional<std::string> filePath(const std::optional<Url>& url) { return url ? url->filePath() : std::nullopt; }

}  // namespace

TEST(DiffLink, AwkwardTextsComeBackUnchangedAndItemsWithoutValueRepeatedOrAfterAGap) {
    // Each part's escaping is the URL layer's; what counts here is that no
    // part is decoded twice or split at a separator of another.
    const std::string text = "a&b=c#d?e%20 f+g";
    const std::string repo = "/Users/me/" + text + "/project";
    auto awkward = parseDiffLink(*diffLink(repo, text, text, {text, "dir/" + text}));
    ASSERT_TRUE(awkward);
    EXPECT_EQ(awkward->repo.filePath(), repo);
    EXPECT_EQ(awkward->revspecA, text);
    EXPECT_EQ(awkward->paths, (Paths{text, "dir/" + text}));

    using Text = std::optional<std::string>;
    struct Case {
        std::string rest;
        Text revspecA, revspecB;
        Paths paths;
    } cases[] = {
        {"?revspecA=a&path_0=x&path_2=z", "a", {}, {"x"}},
        {"?path_1=y&path_0=x&path_0=dup&path_2", {}, {}, {"x", "y", ""}},
        {"?path_1=y", {}, {}, {}},
        {"?revspecA=main&revspecB", "main", {}, {}},
        {"?revspecB=&revspecB=later", {}, "", {}},
        {"", {}, {}, {}},
    };
    for (const auto& c : cases) {
        auto parsed = parseDiffLink(url(link("/diff//Users/me/project" + c.rest)));
        ASSERT_TRUE(parsed) << c.rest;
        EXPECT_EQ(parsed->repo.filePath(), "/Users/me/project");
        EXPECT_EQ(parsed->revspecA, c.revspecA) << c.rest;
        EXPECT_EQ(parsed->revspecB, c.revspecB) << c.rest;
        EXPECT_EQ(parsed->paths, c.paths) << c.rest;
    }
}

TEST(UniversalLink, SchemeHostAndKindMustMatchExactly) {
    const std::string rest = "/diff//r?revspecA=main";
    EXPECT_TRUE(isUniversalLink(url(link(rest)), LinkKind::diff));
    EXPECT_FALSE(isUniversalLink(url(link(rest)), LinkKind::merge));
    const std::string host = VARN_LINK_HOST;
    for (const auto& foreign : {"http://" + host + rest, "HTTPS://" + host + rest, "https://OPEN.VARNEL.APP" + rest,
                                "https://" + host + ".evil.example" + rest}) {
        EXPECT_FALSE(isUniversalLink(url(foreign))) << foreign;
        EXPECT_FALSE(parseDiffLink(url(foreign))) << foreign;
        EXPECT_FALSE(repositoryURL(url(foreign))) << foreign;
    }
    EXPECT_FALSE(isUniversalLink(url(link("/")), LinkKind::diff));
    EXPECT_FALSE(isUniversalLink(url(link("/diffs//r")), LinkKind::diff));
    EXPECT_TRUE(isUniversalLink(url(link("//diff//r")), LinkKind::diff));  // empty segments do not count
    EXPECT_EQ(linkSubject(url(link("/merge//a//b/c%20d/"))), "/a/b/c d");
    EXPECT_EQ(linkSubject(url(link("/history"))), "/");
    EXPECT_EQ(linkComponents(LinkKind::history, "/x y").string(), link("/history//x%20y"));
}

TEST(MergeLink, RoundTripInEveryRepositoryFormAndNoRequestWithoutOne) {
    const std::string file = "/Users/me/pro ject/a#1.c";
    const std::string repo = "/Users/me/pro ject";
    auto fromText = mergeLink(file, repo);
    ASSERT_TRUE(fromText);
    EXPECT_EQ(fromText->string(), link("/merge//Users/me/pro%20ject/a%231.c?repo=/Users/me/pro%20ject"));
    EXPECT_EQ(mergeLink(file, *platform::fileURL(repo + "/")), *fromText);

    auto parsed = parseMergeLink(*fromText);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->merge.filePath(), file);
    EXPECT_EQ(parsed->repo.filePath(), repo);
    EXPECT_FALSE(parseHistoryLink(*fromText));
    EXPECT_EQ(filePath(repositoryURL(*fromText)), repo);
    EXPECT_EQ(filePath(targetFileURL(*fromText)), file);

    EXPECT_FALSE(parseMergeLink(*historyLink("/r/f🙂.txt", "/r")));
    auto relative = parseHistoryLink(url(link("/history//r/f?repo=sub/dir")));
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->repo.filePath(), *platform::fileURL("sub/dir")->filePath());

    // Without a repository a link is no request.
    for (const auto& query : {"", "?repo", "?other=1", "?REPO=/r"}) {
        auto withoutRepo = url(link(std::string("/merge//Users/me/a.c") + query));
        EXPECT_FALSE(parseMergeLink(withoutRepo)) << query;
        EXPECT_FALSE(repositoryURL(withoutRepo)) << query;
        // The file is still named by the link.
        EXPECT_EQ(filePath(targetFileURL(withoutRepo)), "/Users/me/a.c") << query;
    }
    EXPECT_FALSE(repositoryURL(url(link("/history//Users/me/a.c?repo"))));
    // An empty value is a value: it names the current directory.
    auto emptyRepo = parseMergeLink(url(link("/merge//a.c?repo=")));
    ASSERT_TRUE(emptyRepo);
    EXPECT_EQ(emptyRepo->repo.filePath(), *platform::fileURL("")->filePath());
}

TEST(MergeToolCallbackData, CallbackUrlAndBundleIdentifier) {
    // A file callback counts only with a bundle identifier; a callback that
    // is no URL still carries its bundle identifier.
    struct Case {
        std::string query;
        bool data;
        std::optional<std::string> url;
        std::string bundleID;
    } cases[] = {
        {"repo=/r&callback=file:///tmp/x", false, {}, ""},
        {"repo=/r", false, {}, ""},
        {"callback&bundleID=id", false, {}, ""},
        {"repo=/r&callback=file:///tmp/x&bundleID=com.example.App", true, {}, "com.example.App"},
        {"callback=myapp://done?x%3D1%26y%3D2&callback=ignored:", true, "myapp://done?x=1&y=2", ""},
        {"callback=a%20b&bundleID=id", true, {}, "id"},
        {"callback=x:y&bundleID", true, "x:y", ""},
    };
    for (const auto& c : cases) {
        auto data = MergeToolCallbackData::fromURL(url(link("/merge//a.c?" + c.query)));
        ASSERT_EQ(data.has_value(), c.data) << c.query;
        if (!data) continue;
        EXPECT_EQ(data->url ? std::optional(data->url->string()) : std::nullopt, c.url) << c.query;
        EXPECT_EQ(data->bundleID, c.bundleID) << c.query;
    }
}

TEST(IncomingHandOff, RepoSchemeDiffLinksAndOtherUrls) {
    for (const auto& text : {"repo:///Users/me/project", "REPO:///Users/me/project", "Repo:/Users/me/project/"}) {
        EXPECT_EQ(filePath(repositoryURL(url(text))), "/Users/me/project") << text;
    }
    EXPECT_FALSE(repositoryURL(url("repos:///Users/me/project")));
    EXPECT_FALSE(repositoryURL(url("repo:")));
    EXPECT_FALSE(repositoryURL(url("https://example.com/Users/me/project")));

    auto diff = *diffLink("/Users/me/project", "main", std::nullopt, {"a"});
    EXPECT_EQ(filePath(repositoryURL(diff)), "/Users/me/project");
    EXPECT_EQ(filePath(targetFileURL(diff)), "/Users/me/project");
    EXPECT_EQ(filePath(targetFileURL(*platform::fileURL("/tmp/some session/"))), "/tmp/some session");
    EXPECT_EQ(filePath(targetFileURL(url("https://example.com/a%20b"))), "/a b");
    EXPECT_FALSE(targetFileURL(url("https://example.com")));
    EXPECT_FALSE(targetFileURL(url(link("/merge//%FF?repo=/r"))));
}
