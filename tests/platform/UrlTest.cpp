#include "platform/Url.hpp"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ScopedChanges.hpp"
#include "tests/support/TemporaryDirectory.hpp"

using platform::QueryItem;
using platform::Url;
using platform::UrlComponents;
using platform::UrlPart;

TEST(UrlSplit, AllComponentsAsWrittenTheFormsWithoutThemAndWhatIsNoUrl) {
    auto parts = UrlComponents::split("https://me:pw@host.example:8080/a/../b%20c?x=1&y#frag");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->scheme, "https");
    EXPECT_EQ(parts->percentEncodedUserInfo, "me:pw");
    EXPECT_EQ(parts->percentEncodedHost, "host.example");
    EXPECT_EQ(parts->port, "8080");
    EXPECT_EQ(parts->path(), "/a/../b c");  // nothing is resolved
    EXPECT_EQ(parts->percentEncodedQuery, "x=1&y");
    EXPECT_EQ(parts->percentEncodedFragment, "frag");

    EXPECT_EQ(UrlComponents::split("repo:///Users/me/project")->percentEncodedHost, "");
    EXPECT_FALSE(UrlComponents::split("mailto:someone@example.com")->percentEncodedHost);
    auto relative = UrlComponents::split("dir/file?q");
    EXPECT_FALSE(relative->scheme);
    EXPECT_EQ(relative->percentEncodedPath, "dir/file");
    EXPECT_EQ(UrlComponents::split("http://[::1]:80/")->host(), "[::1]");
    for (const char* text : {"", "with space", "https://h/%zz", "https://h/%4", "1abc:x", ":x", "a:b/c:d e",
                             "http://[::1/", "http://[nonsense]/", "http://h:80x/", "http://a@b@c/",
                             "https://h/p?q#f#g", "https://h/\xC3\xA9", "https://h/<>", "http://h^/"}) {
        EXPECT_FALSE(Url::parse(text)) << text;
    }
}

TEST(UrlBuild, ComponentsThatFormNoUrl) {
    auto formsUrl = [](std::optional<std::string> scheme, std::optional<std::string> host, std::string path) {
        UrlComponents parts;
        parts.scheme = std::move(scheme);
        parts.percentEncodedHost = std::move(host);
        parts.percentEncodedPath = std::move(path);
        return parts.url().has_value();
    };
    EXPECT_TRUE(formsUrl("https", "h", "/p"));
    EXPECT_FALSE(formsUrl("https", "h", "no-slash"));             // would join the host
    EXPECT_FALSE(formsUrl("x", std::nullopt, "//p"));             // would be read back as an authority
    EXPECT_FALSE(formsUrl(std::nullopt, std::nullopt, "a:b/c"));  // would be read back as a scheme
    EXPECT_FALSE(formsUrl("1x", std::nullopt, "/p"));
    EXPECT_FALSE(formsUrl("x", "a b", "/"));
    EXPECT_FALSE(formsUrl(std::nullopt, std::nullopt, ""));
}

TEST(UrlEncoding, EscapesWhatEachPartNeedsAndDecodesOnlyValidUtf8) {
    EXPECT_EQ(platform::percentEncoded("a&b=c+d#e?f/g", UrlPart::queryItem), "a%26b%3Dc%2Bd%23e?f/g");
    EXPECT_EQ(platform::percentEncoded("é", UrlPart::path), "%C3%A9");
    // "+" is no space when read back.
    EXPECT_EQ(platform::percentDecoded("a+b%20c"), "a+b c");
    // Overlong "/", a surrogate.
    for (const char* text : {"%", "%2", "%G0", "%FF", "%C0%AF", "%ED%A0%80"})
        EXPECT_FALSE(platform::percentDecoded(text)) << text;
}

TEST(UrlQuery, ItemsWithoutValueEmptyValuesAndDuplicates) {
    auto items = Url::parse("https://h/?a&b=&c=1=2&a=again&&%26=%3D")->queryItems();
    ASSERT_TRUE(items);
    EXPECT_EQ(*items,
              (std::vector<QueryItem>{
                  {"a", std::nullopt}, {"b", ""}, {"c", "1=2"}, {"a", "again"}, {"", std::nullopt}, {"&", "="}}));
    EXPECT_FALSE(Url::parse("https://h/?a=%FF")->queryItems());
}

TEST(FileUrl, AbsoluteAndRelativePathsComeBackAndWhatCannotIsRefused) {
    auto url = platform::fileURL("/Users/me/my project#1/?.txt");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->string(), "file:///Users/me/my%20project%231/%3F.txt");
    EXPECT_EQ(Url::parse(url->string())->filePath(), "/Users/me/my project#1/?.txt");
    EXPECT_EQ(platform::fileURL("/dir/")->filePath(), "/dir");
    EXPECT_EQ(platform::fileURL("//twice")->filePath(), "//twice");

    testsupport::TemporaryDirectory tmp;
    testsupport::ScopedCurrentDirectory in(tmp.path());
    EXPECT_EQ(platform::fileURL("sub/./x/../file")->filePath(), tmp / "sub/file");
    EXPECT_EQ(platform::fileURL("")->filePath(), tmp.path());
    EXPECT_EQ(platform::fileURL("..")->filePath(), std::filesystem::path(tmp.path()).parent_path().string());

    EXPECT_FALSE(platform::fileURL(std::string_view("/a\0b", 4)));
    EXPECT_FALSE(platform::fileURL("/bad\xFF"));
    EXPECT_FALSE(Url::parse("file:///a%00b")->filePath());
    EXPECT_FALSE(Url::parse("https://h/a")->filePath());
    EXPECT_TRUE(Url::parse("FILE:///a")->isFileURL());
    EXPECT_FALSE(Url::parse("files:///a")->isFileURL());
}
