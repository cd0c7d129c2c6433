#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Url.hpp"
#include "shared/DiffLink.hpp"
#include "shared/HistoryLink.hpp"
#include "shared/IncomingHandOff.hpp"
#include "shared/MergeLink.hpp"
#include "shared/MergeToolCallbackData.hpp"
#include "shared/UniversalLinks.hpp"

using namespace VarnShared;
using platform::Url;

namespace {

Url url(const std::string& text) {
    auto parsed = Url::parse(text);
    EXPECT_TRUE(parsed) << text;
    return parsed ? *parsed : *Url::parse("about:blank");
}

std::string link(const std::string& pathAndQuery) { return std::string("https://") + VARN_LINK_HOST + pathAndQuery; }

std::optional<std::string> filePath(const std::optional<Url>& url) {
    return url ? url->filePath() : std::nullopt;
}

}  // namespace

TEST(DiffLink, ExampleLayout) {
    auto built = diffLink("/r", "main", std::nullopt, {"a.txt", "b/c.txt"});
    ASSERT_TRUE(built);
    EXPECT_EQ(built->string(), link("/diff//r?revspecA=main&revspecB&path_0=a.txt&path_1=b/c.txt"));
    EXPECT_EQ(built->components().percentEncodedPath, "/diff//r");

    auto parsed = parseDiffLink(*built);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->repo.filePath(), "/r");
    EXPECT_EQ(parsed->revspecA, "main");
    EXPECT_FALSE(parsed->revspecB);
    EXPECT_EQ(parsed->paths, (std::vector<std::string>{"a.txt", "b/c.txt"}));
}

TEST(DiffLink, AwkwardTextsComeBackUnchanged) {
    const std::vector<std::string> texts{"with space", "100%", "a&b", "k=v", "x#y", "1+1", "why?",
                                         "Grüße",      "日本語", "🙂",    "",    "%20", "a=b&c=d#e"};
    for (const auto& text : texts) {
        // An empty segment in the subject would be a doubled slash, which links drop.
        auto repo = "/Users/me/" + (text.empty() ? "x" : text) + "/project";
        auto built = diffLink(repo, text, text, {text, "dir/" + text});
        ASSERT_TRUE(built) << text;
        auto parsed = parseDiffLink(url(built->string()));
        ASSERT_TRUE(parsed) << built->string();
        EXPECT_EQ(parsed->repo.filePath(), repo) << built->string();
        EXPECT_EQ(parsed->revspecA, text);
        EXPECT_EQ(parsed->revspecB, text);
        EXPECT_EQ(parsed->paths, (std::vector<std::string>{text, "dir/" + text})) << built->string();
    }
}

TEST(DiffLink, NoPathsAndTextsThatAreNotUtf8) {
    auto built = diffLink("/r", std::nullopt, std::nullopt, {});
    ASSERT_TRUE(built);
    EXPECT_EQ(built->string(), link("/diff//r?revspecA&revspecB"));
    EXPECT_FALSE(diffLink("/r\xFF", "main", std::nullopt, {}));
    EXPECT_FALSE(diffLink("/r", "main", std::nullopt, {"ok", "bad\xC3"}));
}

TEST(DiffLink, PathItemsUpToTheFirstGap) {
    auto gap = parseDiffLink(url(link("/diff//r?revspecA=a&path_0=x&path_2=z")));
    ASSERT_TRUE(gap);
    EXPECT_EQ(gap->paths, std::vector<std::string>{"x"});

    auto unordered = parseDiffLink(url(link("/diff//r?path_1=y&path_0=x&path_0=dup&path_2")));
    ASSERT_TRUE(unordered);
    EXPECT_EQ(unordered->paths, (std::vector<std::string>{"x", "y", ""}));

    auto noFirst = parseDiffLink(url(link("/diff//r?path_1=y")));
    ASSERT_TRUE(noFirst);
    EXPECT_TRUE(noFirst->paths.empty());
}

TEST(DiffLink, RevisionsWithoutValueOrItem) {
    auto valueless = parseDiffLink(url(link("/diff//r?revspecA=main&revspecB")));
    ASSERT_TRUE(valueless);
    EXPECT_EQ(valueless->revspecA, "main");
    EXPECT_FALSE(valueless->revspecB);

    auto bare = parseDiffLink(url(link("/diff//Users/me/project")));
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->repo.filePath(), "/Users/me/project");
    EXPECT_FALSE(bare->revspecA);
    EXPECT_FALSE(bare->revspecB);
    EXPECT_TRUE(bare->paths.empty());

    auto emptyValue = parseDiffLink(url(link("/diff//r?revspecB=&revspecB=later")));
    ASSERT_TRUE(emptyValue);
    EXPECT_EQ(emptyValue->revspecB, "");
}

TEST(UniversalLink, SchemeHostAndKindMustMatchExactly) {
    const std::string rest = "/diff//r?revspecA=main";
    EXPECT_TRUE(isUniversalLink(url(link(rest))));
    EXPECT_TRUE(isUniversalLink(url(link(rest)), LinkKind::diff));
    EXPECT_FALSE(isUniversalLink(url(link(rest)), LinkKind::merge));
    const std::string host = VARN_LINK_HOST;
    for (const auto& foreign : {"http://" + host + rest, "HTTPS://" + host + rest, "https://example.com" + rest,
                                "https://OPEN.VARNEL.APP" + rest, "https://" + host + ".evil.example" + rest}) {
        EXPECT_FALSE(isUniversalLink(url(foreign))) << foreign;
        EXPECT_FALSE(parseDiffLink(url(foreign))) << foreign;
        EXPECT_FALSE(repositoryURL(url(foreign))) << foreign;
    }
    EXPECT_FALSE(isUniversalLink(url(link("/")), LinkKind::diff));
    EXPECT_FALSE(isUniversalLink(url(link("/diffs//r")), LinkKind::diff));
    EXPECT_TRUE(isUniversalLink(url(link("//diff//r")), LinkKind::diff));  // empty segments do not count
}

TEST(UniversalLink, SubjectDropsDoubledSlashes) {
    EXPECT_EQ(linkSubject(url(link("/merge//a//b/c%20d/"))), "/a/b/c d");
    EXPECT_EQ(linkSubject(url(link("/history"))), "/");
    EXPECT_EQ(linkComponents(LinkKind::history, "/x y").string(), link("/history//x%20y"));
}

TEST(MergeLink, RoundTripInEveryRepositoryForm) {
    const std::string file = "/Users/me/pro ject/a#1.c";
    const std::string repo = "/Users/me/pro ject";
    auto fromText = mergeLink(file, repo);
    auto fromUrl = mergeLink(file, *platform::fileURL(repo + "/"));
    ASSERT_TRUE(fromText);
    ASSERT_TRUE(fromUrl);
    EXPECT_EQ(fromText->string(), link("/merge//Users/me/pro%20ject/a%231.c?repo=/Users/me/pro%20ject"));
    EXPECT_EQ(*fromUrl, *fromText);

    auto parsed = parseMergeLink(*fromText);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->merge.filePath(), file);
    EXPECT_EQ(parsed->repo.filePath(), repo);
    EXPECT_FALSE(parseHistoryLink(*fromText));
    EXPECT_EQ(filePath(repositoryURL(*fromText)), repo);
    EXPECT_EQ(filePath(targetFileURL(*fromText)), file);
}

TEST(HistoryLink, KindIsKeptApartAndRepositoryMayBeRelative) {
    auto built = historyLink("/r/f🙂.txt", "/r");
    ASSERT_TRUE(built);
    EXPECT_FALSE(parseMergeLink(*built));
    EXPECT_EQ(filePath(targetFileURL(*built)), "/r/f🙂.txt");

    auto relative = parseHistoryLink(url(link("/history//r/f?repo=sub/dir")));
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->history.filePath(), "/r/f");
    EXPECT_EQ(relative->repo.filePath(), *platform::fileURL("sub/dir")->filePath());
}

TEST(MergeLink, WithoutRepositoryGivesNoRequest) {
    for (const auto& query : {"", "?repo", "?other=1", "?REPO=/r"}) {
        auto withoutRepo = url(link(std::string("/merge//Users/me/a.c") + query));
        EXPECT_FALSE(parseMergeLink(withoutRepo)) << query;
        EXPECT_FALSE(repositoryURL(withoutRepo)) << query;
        // The file is still named by the link.
        EXPECT_EQ(filePath(targetFileURL(withoutRepo)), "/Users/me/a.c") << query;
    }
    auto history = url(link("/history//Users/me/a.c?repo"));
    EXPECT_FALSE(repositoryURL(history));
    EXPECT_EQ(filePath(targetFileURL(history)), "/Users/me/a.c");
    // An empty value is a value: it names the current directory.
    auto emptyRepo = parseMergeLink(url(link("/merge//a.c?repo=")));
    ASSERT_TRUE(emptyRepo);
    EXPECT_EQ(emptyRepo->repo.filePath(), *platform::fileURL("")->filePath());
}

TEST(MergeToolCallbackData, CallbackUrlAndBundleIdentifier) {
    auto fileOnly = MergeToolCallbackData::fromURL(url(link("/merge//a.c?repo=/r&callback=file:///tmp/x")));
    EXPECT_FALSE(fileOnly);

    auto fileWithBundle = MergeToolCallbackData::fromURL(
        url(link("/merge//a.c?repo=/r&callback=file:///tmp/x&bundleID=com.example.App")));
    ASSERT_TRUE(fileWithBundle);
    EXPECT_FALSE(fileWithBundle->url);
    EXPECT_EQ(fileWithBundle->bundleID, "com.example.App");

    auto web = MergeToolCallbackData::fromURL(
        url(link("/merge//a.c?callback=myapp://done?x%3D1%26y%3D2&callback=ignored:")));
    ASSERT_TRUE(web);
    ASSERT_TRUE(web->url);
    EXPECT_EQ(web->url->string(), "myapp://done?x=1&y=2");
    EXPECT_EQ(web->bundleID, "");

    auto invalidWithBundle = MergeToolCallbackData::fromURL(url(link("/merge//a.c?callback=a%20b&bundleID=id")));
    ASSERT_TRUE(invalidWithBundle);
    EXPECT_FALSE(invalidWithBundle->url);

    EXPECT_FALSE(MergeToolCallbackData::fromURL(url(link("/merge//a.c"))));
    EXPECT_FALSE(MergeToolCallbackData::fromURL(url(link("/merge//a.c?callback&bundleID=id"))));
    auto valuelessBundle = MergeToolCallbackData::fromURL(url(link("/merge//a.c?callback=x:y&bundleID")));
    ASSERT_TRUE(valuelessBundle);
    EXPECT_EQ(valuelessBundle->bundleID, "");
}

TEST(IncomingHandOff, RepoSchemeInAnyCase) {
    for (const auto& text : {"repo:///Users/me/project", "REPO:///Users/me/project", "Repo:/Users/me/project/"}) {
        EXPECT_EQ(filePath(repositoryURL(url(text))), "/Users/me/project") << text;
    }
    EXPECT_FALSE(repositoryURL(url("repos:///Users/me/project")));
    EXPECT_FALSE(repositoryURL(url("repo:")));
    EXPECT_FALSE(repositoryURL(url("https://example.com/Users/me/project")));
}

TEST(IncomingHandOff, DiffLinksAndOtherUrls) {
    auto diff = *diffLink("/Users/me/project", "main", std::nullopt, {"a"});
    EXPECT_EQ(filePath(repositoryURL(diff)), "/Users/me/project");
    EXPECT_EQ(filePath(targetFileURL(diff)), "/Users/me/project");

    EXPECT_EQ(filePath(targetFileURL(*platform::fileURL("/tmp/some session/"))), "/tmp/some session");
    EXPECT_EQ(filePath(targetFileURL(url("https://example.com/a%20b"))), "/a b");
    EXPECT_FALSE(targetFileURL(url("https://example.com")));
    EXPECT_FALSE(targetFileURL(url(link("/merge//%FF?repo=/r"))));
}
