#include "platform/file_url.h"

#include <gtest/gtest.h>

#include <string>

TEST(LocalFileOfArgument, FileUrlsBecomeLocalNamesAndOtherArgumentsStayAsGiven) {
    using namespace std::string_literals;
    const struct {
        std::string argument;
        std::string file;
    } cases[] = {
        // Names, whatever they look like, are names.
        {"game.scr", "game.scr"},
        {"/home/me/game.scr", "/home/me/game.scr"},
        {"dir/with%20escape.scr", "dir/with%20escape.scr"},
        {"", ""},
        {"-", "-"},
        {"http://example.org/game.scr", "http://example.org/game.scr"},
        {"files:/game.scr", "files:/game.scr"},
        {"fil", "fil"},
        // Local URLs, in the forms launchers pass.
        {"file:///home/me/game.scr", "/home/me/game.scr"},
        {"file://localhost/home/me/game.scr", "/home/me/game.scr"},
        {"file://LocalHost/game.scr", "/game.scr"},
        {"FILE:///game.scr", "/game.scr"},
        {"file:/home/me/game.scr", "/home/me/game.scr"},
        {"file:///", "/"},
        // Escapes are bytes: two hex digits in either case; others stay.
        {"file:///my%20games/caf%C3%A9.scr", "/my games/caf\xc3\xa9.scr"},
        {"file:///a%2fb%2Fc", "/a/b/c"},
        {"file:///100%25.scr", "/100%.scr"},
        {"file:///50%.scr", "/50%.scr"},
        {"file:///x%4", "/x%4"},
        {"file:///x%zz%4g", "/x%zz%4g"},
        {"file:///nul%00byte", "/nul\0byte"s},
        {"file:///%%41", "/%A"},
        // A query or fragment is not part of the path.
        {"file:///game.scr?line=3", "/game.scr"},
        {"file:///game.scr#top", "/game.scr"},
        {"file:///what%3F.scr", "/what?.scr"},
        // No local file: another host, or no absolute path.
        {"file://server/share/game.scr", ""},
        {"file://localhost.example/game.scr", ""},
        {"file://localhos/game.scr", ""},
        {"file://localhost", ""},
        {"file://", ""},
        {"file:", ""},
        {"file:game.scr", ""},
        {"file:?x", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(localFileOfArgument(c.argument), c.file) << '"' << c.argument << '"';
    }
}
