// The compiled resources as the program carries them: dialog template 2003, icon group 105, manifest.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
const WORD FRENCH = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);

std::string resourceBytes(LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceExA(nullptr, type, name, FRENCH);
    if (!found) return {};
    const char *data = static_cast<const char *>(LockResource(LoadResource(nullptr, found)));
    return std::string(data, SizeofResource(nullptr, found));
}

// Reads a classic dialog template field by field.
struct TemplateReader {
    const std::string &bytes;
    size_t at;

    WORD word() {
        WORD value = 0;
        if (at + 2 <= bytes.size()) value = WORD(BYTE(bytes[at]) | BYTE(bytes[at + 1]) << 8);
        at += 2;
        return value;
    }
    DWORD dword() {
        DWORD low = word();
        return low | DWORD(word()) << 16;
    }
    std::string text() {
        std::string result;
        for (WORD c = word(); c != 0 && at < bytes.size(); c = word())
            result += char(c);
        return result;
    }
    // A class or menu: 0xFFFF then an ordinal, or a text.
    std::string nameOrOrdinal() {
        WORD first = word();
        if (first == 0xFFFF) return "#" + std::to_string(word());
        at -= 2;
        return text();
    }
    void alignToDword() { at = (at + 3) & ~size_t(3); }
};

struct Item {
    WORD id;
    std::string className;
    std::string text;
    DWORD style;
    short x, y, cx, cy;
};

const Item ITEMS[] = {
    {1, "#128", "OK", 0x50010001, 16, 57, 50, 14},
    {2, "#128", "Cancel", 0x50010000, 163, 57, 50, 14},
    {1000, "msctls_trackbar32", "Slider1", 0x50010010, 72, 7, 76, 15},
    {0xFFFF, "#130", "Stars", 0x50020000, 40, 7, 17, 8},
    {1001, "#130", "500", 0x50020000, 13, 7, 14, 8},
    {1002, "#128", "Logo on/off", 0x50010003, 156, 16, 51, 10},
    {1003, "msctls_trackbar32", "Slider1", 0x50010010, 72, 25, 76, 15},
    {1004, "#130", "20", 0x50020000, 13, 25, 14, 8},
    {0xFFFF, "#130", "% of big stars", 0x50020000, 30, 25, 41, 8},
    {1005, "#128", "About...", 0x50010000, 89, 57, 50, 14},
};

TEST(Resources, DialogTemplateIsTheClassicFormWithItsTenControls) {
    std::string bytes = resourceBytes(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(2003));
    ASSERT_FALSE(bytes.empty()) << "no French dialog 2003";
    TemplateReader reader{bytes, 0};
    EXPECT_EQ(reader.dword(), 0x80C800C0u);
    EXPECT_EQ(reader.dword(), 0u) << "extended style";
    ASSERT_EQ(reader.word(), 10u);
    EXPECT_EQ(reader.word(), 0u);
    EXPECT_EQ(reader.word(), 0u);
    EXPECT_EQ(reader.word(), 220u);
    EXPECT_EQ(reader.word(), 78u);
    EXPECT_EQ(reader.nameOrOrdinal(), "") << "menu";
    EXPECT_EQ(reader.nameOrOrdinal(), "") << "class";
    EXPECT_EQ(reader.text(), "Dialog");
    EXPECT_EQ(reader.word(), 8u);
    EXPECT_EQ(reader.text(), "MS Sans Serif");
    for (const Item &item : ITEMS) {
        SCOPED_TRACE(item.text);
        reader.alignToDword();
        EXPECT_EQ(reader.dword(), item.style);
        EXPECT_EQ(reader.dword(), 0u) << "extended style";
        EXPECT_EQ(short(reader.word()), item.x);
        EXPECT_EQ(short(reader.word()), item.y);
        EXPECT_EQ(short(reader.word()), item.cx);
        EXPECT_EQ(short(reader.word()), item.cy);
        EXPECT_EQ(reader.word(), item.id);
        // Window classes match without regard to case; the resource compiler writes them in capitals.
        EXPECT_EQ(lstrcmpiA(reader.nameOrOrdinal().c_str(), item.className.c_str()), 0);
        EXPECT_EQ(reader.nameOrOrdinal(), item.text);
        EXPECT_EQ(reader.word(), 0u) << "creation data";
    }
    EXPECT_LE(reader.at, bytes.size());
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInResource;
    WORD id;
};
#pragma pack(pop)

TEST(Resources, IconGroupHoldsOneSixteenColourImageOf32By32) {
    std::string group = resourceBytes(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(105));
    ASSERT_EQ(group.size(), 6 + sizeof(IconGroupEntry)) << "one image in French icon group 105";
    EXPECT_EQ(group.substr(0, 6), std::string("\0\0\1\0\1\0", 6));
    IconGroupEntry entry;
    std::memcpy(&entry, group.data() + 6, sizeof entry);
    EXPECT_EQ(entry.width, 32);
    EXPECT_EQ(entry.height, 32);
    EXPECT_EQ(entry.colourCount, 16);
    EXPECT_EQ(entry.bitCount, 4);
    EXPECT_EQ(entry.bytesInResource, 744u);

    std::string image = resourceBytes(MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(entry.id));
    ASSERT_EQ(image.size(), 744u);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 32);
    EXPECT_EQ(header.biHeight, 64) << "colour and mask";
    EXPECT_EQ(header.biBitCount, 4);
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(105)), nullptr);
}

TEST(Resources, ManifestAsksForCommonControlsSixAndDpiAwarenessButNoExecutionLevel) {
    std::string manifest = resourceBytes(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
    EXPECT_EQ(manifest.find("trustInfo"), std::string::npos);
}
} // namespace
