// The command tail after the program name, the switch grammar and the
// handle number, as tables.
#include "host/run_mode.h"
#include "host/saver_host.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TailCase {
    const char *commandLine;
    const char *tail;
};

TEST(CommandTail, SkipsTheProgramNameAndTheBlanksAfterIt) {
    const TailCase cases[] = {
        {"", ""},
        {"comet.scr", ""},
        {"comet.scr   ", ""},
        {"comet.scr /s", "/s"},
        {"comet.scr \t \t/p 1234", "/p 1234"},
        {"comet.scr\x01/s", "/s"},
        {"\"C:\\My Savers\\comet.scr\" /s", "/s"},
        {"\"C:\\My Savers\\comet.scr\"/s", "/s"},
        {"\"C:\\My Savers\\comet.scr\"", ""},
        {"\"\" /c", "/c"},
        // A quoted name without its closing quote swallows the whole line.
        {"\"C:\\My Savers\\comet.scr /s", ""},
        // An unquoted name ends only at a blank or a control byte.
        {"comet.scr/s", ""},
        {"C:\\Sav\xe9r\xff\\comet.scr /p 12", "/p 12"},
        {"\xc9\xc0.scr\t/a 5", "/a 5"},
    };
    for (const TailCase &c : cases) {
        EXPECT_EQ(std::string(extractCommandTail(c.commandLine)), c.tail)
            << "command line: " << c.commandLine;
    }
}

TEST(CommandTail, PointsIntoTheCommandLine) {
    const char line[] = "\"comet.scr\"  /s";
    EXPECT_EQ(extractCommandTail(line), line + 13);
}

struct ModeCase {
    const char *tail;
    SaverMode mode;
    const char *rest;
};

TEST(ModeGrammar, SelectsTheModeAndTheTextForItsHandle) {
    const ModeCase cases[] = {
        {"", SAVER_MODE_CONFIG, ""},
        {"/", SAVER_MODE_CONFIG, ""},
        {"- / -", SAVER_MODE_CONFIG, ""},
        {"/c", SAVER_MODE_CONFIG_FOREGROUND, ""},
        {"/C 1234", SAVER_MODE_CONFIG_FOREGROUND, ""},
        {"/c:1234", SAVER_MODE_CONFIG_FOREGROUND, ""},
        {"/s", SAVER_MODE_FULL_SCREEN, ""},
        {"-s", SAVER_MODE_FULL_SCREEN, ""},
        {"s", SAVER_MODE_FULL_SCREEN, ""},
        {"/S", SAVER_MODE_FULL_SCREEN, ""},
        {"- / s", SAVER_MODE_FULL_SCREEN, ""},
        {"/s and more /p 12", SAVER_MODE_FULL_SCREEN, ""},
        {"/p 1234", SAVER_MODE_PREVIEW, "1234"},
        {"/p1234", SAVER_MODE_PREVIEW, "1234"},
        {"/P    77 tail", SAVER_MODE_PREVIEW, "77 tail"},
        {"/p:1234", SAVER_MODE_PREVIEW, ":1234"},
        {"/p", SAVER_MODE_PREVIEW, ""},
        {"/p 0", SAVER_MODE_PREVIEW, "0"},
        // Only blanks are passed over after the letter, not tabs.
        {"/p\t1234", SAVER_MODE_PREVIEW, "\t1234"},
        {"/l 1234", SAVER_MODE_PREVIEW, "1234"},
        {"-L1234", SAVER_MODE_PREVIEW, "1234"},
        {"/a 1234", SAVER_MODE_PASSWORD_CHANGE, "1234"},
        {"/A", SAVER_MODE_PASSWORD_CHANGE, ""},
        {"/x", SAVER_MODE_NONE, ""},
        {"/1", SAVER_MODE_NONE, ""},
        {"/\ts", SAVER_MODE_NONE, ""},
        {"\ts", SAVER_MODE_NONE, ""},
        {"/\xd3", SAVER_MODE_NONE, ""},
        {"/\xf3", SAVER_MODE_NONE, ""},
    };
    for (const ModeCase &c : cases) {
        const char *rest = nullptr;
        EXPECT_EQ(parseSaverMode(c.tail, &rest), c.mode) << "tail: " << c.tail;
        ASSERT_NE(rest, nullptr) << "tail: " << c.tail;
        EXPECT_EQ(std::string(rest), c.rest) << "tail: " << c.tail;
    }
}

struct HandleCase {
    const char *text;
    DWORD value;
};

TEST(HandleNumber, ReadsDecimalDigitsModulo2To32) {
    const HandleCase cases[] = {
        {"1234", 1234},
        {"007", 7},
        {"12ab", 12},
        {"", 0},
        {":1234", 0},
        {" 5", 0},
        {"-5", 0},
        {"+5", 0},
        {"0x10", 0},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0},
        {"4294967297", 1},
        {"12345678901", 3755744309u},
        {"98765432109876543210", 3844505322u},
    };
    for (const HandleCase &c : cases)
        EXPECT_EQ(parseHandle(c.text), c.value) << "text: " << c.text;
}

} // namespace
