#include "shell/mod_string.h"

#include <doctest/doctest.h>

#include <string>

using lumivane::modString::DoubleAmpersands;
using lumivane::modString::ShortenPath;

namespace {
std::string shortened(std::string s) {
    ShortenPath(s);
    return s;
}
} // namespace

TEST_CASE("ShortenPath keeps texts under 4 characters whole and says so") {
    std::string s;
    CHECK_FALSE(ShortenPath(s));
    CHECK(s.empty());
    s = "C:\\";
    CHECK_FALSE(ShortenPath(s));
    CHECK(s == "C:\\");
    s = "abc";
    CHECK_FALSE(ShortenPath(s));
    CHECK(s == "abc");
    // Four characters are shortened: the part behind the backslash remains.
    s = "C:\\a";
    CHECK(ShortenPath(s));
    CHECK(s == "a");
}

TEST_CASE("ShortenPath keeps the last component and cuts it at 20 characters") {
    CHECK(shortened("C:\\Program Files\\Common Files") == "Common Files");
    CHECK(shortened("D:\\Data\\").empty());
    CHECK(shortened("C:\\" + std::string(20, 'a')) == std::string(20, 'a') + "...");
    CHECK(shortened("C:\\" + std::string(19, 'b')) == std::string(19, 'b'));
    CHECK(shortened(std::string(25, 'c')) == std::string(20, 'c') + "...");
    CHECK(shortened(std::string(20, 'd')) == std::string(20, 'd') + "...");
    // Only the backslash separates; a forward slash is part of the name.
    CHECK(shortened("C:/Users/me") == "C:/Users/me");
    CHECK(shortened("\\\\server\\share") == "share");
}

TEST_CASE("ShortenPath counts characters, not UTF-8 bytes") {
    // "é" is two bytes: 3 characters are still too few to shorten.
    std::string s = "\xC3\xA9\xC3\xA9\\";
    CHECK_FALSE(ShortenPath(s));
    // 20 two-byte characters get the points, and the cut never splits one.
    std::string name;
    for (int i = 0; i < 22; ++i) name += "\xC3\xA9";
    std::string expected;
    for (int i = 0; i < 20; ++i) expected += "\xC3\xA9";
    CHECK(shortened("C:\\" + name) == expected + "...");
    std::string nineteen;
    for (int i = 0; i < 19; ++i) nineteen += "\xE6\x97\xA5";
    CHECK(shortened("C:\\" + nineteen) == nineteen);
}

TEST_CASE("every ampersand is doubled so that it shows") {
    CHECK(DoubleAmpersands("Tom & Jerry") == "Tom && Jerry");
    CHECK(DoubleAmpersands("&&x&") == "&&&&x&&");
    CHECK(DoubleAmpersands("plain") == "plain");
}
