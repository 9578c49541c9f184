// Checks the compiled resources of the program: windres compiles the real resource script into a
// .res file at build time, and this test reads it back entry by entry.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "LocaleFont.h"
#include "ResFile.h"
#include "ResourceIds.h"
#include "dlgtemplate/DialogTemplate.h"

namespace {

constexpr std::uint16_t kLangChineseSimplified = 0x0804;
constexpr std::uint16_t kLangEnglishUs = 0x0409;

std::uint16_t U16(std::span<const std::uint8_t> data, std::size_t offset) {
    if (offset + 2 > data.size()) throw std::out_of_range("u16 past the end");
    return static_cast<std::uint16_t>(data[offset] | data[offset + 1] << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> data, std::size_t offset) {
    return U16(data, offset) | static_cast<std::uint32_t>(U16(data, offset + 2)) << 16;
}

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

// A UTF-16 NUL-ended string at `offset`; `offset` moves past the terminator.
std::u16string ReadString(std::span<const std::uint8_t> data, std::size_t& offset) {
    std::u16string text;
    for (std::uint16_t unit; (unit = U16(data, offset)) != 0; offset += 2) text.push_back(unit);
    offset += 2;
    return text;
}

// Read once for all tests of this file.
const std::vector<ResEntry>& resources() {
    static const std::vector<ResEntry> all = [] {
        const auto bytes = ReadWholeFile(TORVAN_TEST_RES_FILE);
        if (!bytes) throw std::runtime_error("cannot open " TORVAN_TEST_RES_FILE);
        auto entries = ParseResFile(*bytes);
        if (!entries) throw std::runtime_error("malformed " TORVAN_TEST_RES_FILE);
        return *entries;
    }();
    return all;
}

TEST(Resources, ManifestIsTheBareAssemblyElementInEnglish) {
    const ResEntry* manifest = FindResEntry(resources(), kResTypeManifest, 1);
    ASSERT_NE(manifest, nullptr);
    EXPECT_EQ(manifest->language, kLangEnglishUs);
    const std::string expected =
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
        "</assembly>";
    EXPECT_EQ(std::string(manifest->data.begin(), manifest->data.end()), expected);
}

TEST(Resources, IconGroupHoldsOne64PixelSixteenColourImage) {
    const ResEntry* group = FindResEntry(resources(), kResTypeGroupIcon, IDI_APP);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->language, kLangChineseSimplified);
    const std::span<const std::uint8_t> g = group->data;
    ASSERT_EQ(g.size(), 6u + 14u);  // header and one GRPICONDIRENTRY
    EXPECT_EQ(U16(g, 2), 1);        // type: icon
    EXPECT_EQ(U16(g, 4), 1);        // one image
    EXPECT_EQ(g[6], 64);            // width
    EXPECT_EQ(g[7], 64);            // height
    EXPECT_EQ(g[8], 16);            // colours
    EXPECT_EQ(U16(g, 10), 1);       // planes
    EXPECT_EQ(U16(g, 12), 4);       // bits per pixel
    const std::uint32_t bytesInRes = U32(g, 14);
    EXPECT_EQ(U16(g, 18), 1);  // icon id

    const ResEntry* icon = FindResEntry(resources(), kResTypeIcon, 1);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->language, kLangChineseSimplified);
    const std::span<const std::uint8_t> image = icon->data;
    EXPECT_EQ(image.size(), bytesInRes);
    // BITMAPINFOHEADER: 64 wide, twice 64 high (colour plus mask), 4 bits, 16-entry palette,
    // then a 32-byte-per-row colour bitmap and an 8-byte-per-row mask.
    EXPECT_EQ(U32(image, 0), 40u);
    EXPECT_EQ(U32(image, 4), 64u);
    EXPECT_EQ(U32(image, 8), 128u);
    EXPECT_EQ(U16(image, 12), 1);
    EXPECT_EQ(U16(image, 14), 4);
    EXPECT_EQ(image.size(), 40u + 16u * 4u + 64u * 32u + 64u * 8u);
}

// One node of the version resource: key, raw value bytes, children.
struct VersionNode {
    std::u16string key;
    std::uint16_t type = 0;
    std::vector<std::uint8_t> value;
    std::vector<VersionNode> children;
};

VersionNode ParseVersionNode(std::span<const std::uint8_t> data, std::size_t offset) {
    const std::size_t end = offset + U16(data, offset);
    const std::uint16_t valueLength = U16(data, offset + 2);
    VersionNode node;
    node.type = U16(data, offset + 4);
    std::size_t pos = offset + 6;
    node.key = ReadString(data, pos);
    pos = Align4(pos);
    // Text values count UTF-16 units, binary values bytes.
    const std::size_t valueBytes = node.type == 1 ? valueLength * 2u : valueLength;
    if (pos + valueBytes > end || end > data.size()) throw std::out_of_range("bad version node");
    node.value.assign(data.begin() + pos, data.begin() + pos + valueBytes);
    pos = Align4(pos + valueBytes);
    while (pos < end) {
        node.children.push_back(ParseVersionNode(data, pos));
        pos = Align4(pos + U16(data, pos));
    }
    return node;
}

const VersionNode* Child(const VersionNode& node, std::u16string_view key) {
    for (const VersionNode& child : node.children) {
        if (child.key == key) return &child;
    }
    return nullptr;
}

// A text value as 8-bit characters (all values here are ASCII), without its terminator.
std::string TextValue(const VersionNode& node) {
    std::string text;
    for (std::size_t i = 0; i + 1 < node.value.size(); i += 2) {
        const std::uint16_t unit = U16(node.value, i);
        if (unit == 0) break;
        text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    }
    return text;
}

TEST(Resources, VersionResourceHoldsTheProgramVersionAndStrings) {
    const ResEntry* version = FindResEntry(resources(), kResTypeVersion, 1);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->language, kLangChineseSimplified);
    const VersionNode root = ParseVersionNode(version->data, 0);
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");

    const std::span<const std::uint8_t> fixed = root.value;
    ASSERT_EQ(fixed.size(), 52u);
    EXPECT_EQ(U32(fixed, 0), 0xFEEF04BDu);
    EXPECT_EQ(U32(fixed, 8), 0x00010000u);   // file version 1.0
    EXPECT_EQ(U32(fixed, 12), 0x00000006u);  // .0.6
    EXPECT_EQ(U32(fixed, 16), 0x00010000u);  // product version
    EXPECT_EQ(U32(fixed, 20), 0x00000006u);
    EXPECT_EQ(U32(fixed, 24), 0x17u);        // flags mask
    EXPECT_EQ(U32(fixed, 28), 0u);           // flags
    EXPECT_EQ(U32(fixed, 32), 0x00000004u);  // VOS__WINDOWS32
    EXPECT_EQ(U32(fixed, 36), 1u);           // VFT_APP
    EXPECT_EQ(U32(fixed, 40), 0u);           // subtype
    EXPECT_EQ(U32(fixed, 44), 0u);           // date
    EXPECT_EQ(U32(fixed, 48), 0u);

    const VersionNode* stringInfo = Child(root, u"StringFileInfo");
    ASSERT_NE(stringInfo, nullptr);
    ASSERT_EQ(stringInfo->children.size(), 1u);
    const VersionNode& table = stringInfo->children[0];
    EXPECT_EQ(table.key, u"080404b0");
    std::map<std::u16string, std::string> strings;
    for (const VersionNode& entry : table.children) {
        EXPECT_EQ(entry.type, 1) << std::string(entry.key.begin(), entry.key.end());
        strings[entry.key] = TextValue(entry);
    }
    const std::map<std::u16string, std::string> expected = {
        {u"Comments",
         "Usage: Run this program will allow you to modify the registry entries used by Patch "
         "for TORVAN95 in GUI mode.\r\n\r\n"},
        {u"CompanyName", "Kavrenta patch team"},
        {u"FileDescription", "Patch for TORVAN95 Setting"},
        {u"FileVersion", "1, 0, 0, 6"},
        {u"InternalName", "TorvanPatch"},
        {u"LegalCopyright", "Copyright (C) Kavrenta patch team"},
        {u"OriginalFilename", "TorvanPatch.exe"},
        {u"ProductName", "Patch for TORVAN95 Setting"},
        {u"ProductVersion", "1, 0, 0, 6"},
    };
    EXPECT_EQ(strings, expected);

    const VersionNode* varInfo = Child(root, u"VarFileInfo");
    ASSERT_NE(varInfo, nullptr);
    const VersionNode* translation = Child(*varInfo, u"Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation->value, (std::vector<std::uint8_t>{0x04, 0x08, 0xB0, 0x04}));
}

TEST(Resources, LocaleFontFollowsTheChineseLocaleGroups) {
    const ResEntry* dialog = FindResEntry(resources(), kResTypeDialog, IDD_SETTINGS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->language, kLangChineseSimplified);

    struct Case {
        std::uint16_t langId;
        std::uint16_t pointsize;
        std::uint8_t charset;
        std::u16string_view typeface;
    };
    const Case cases[] = {
        {0x0404, 9, 136, u"細明體"},     {0x0C04, 9, 136, u"細明體"},
        {0x1404, 9, 136, u"細明體"},     {0x0804, 9, 134, u"宋体"},
        {0x1004, 9, 134, u"宋体"},       {0x0409, 8, 0, u"MS Shell Dlg"},
        {0x0411, 8, 0, u"MS Shell Dlg"}, {0x0004, 8, 0, u"MS Shell Dlg"},
        {0x7C04, 8, 0, u"MS Shell Dlg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.langId);
        std::string error;
        std::unique_ptr<DialogTemplate> dialogTemplate =
            DialogTemplate::FromBytes(dialog->data, &error);
        ASSERT_NE(dialogTemplate, nullptr) << error;
        ApplyLocaleFont(*dialogTemplate, c.langId);
        EXPECT_EQ(dialogTemplate->pointsize(), c.pointsize);
        EXPECT_EQ(dialogTemplate->weight(), 400);
        EXPECT_EQ(dialogTemplate->italic(), 0);
        EXPECT_EQ(dialogTemplate->charset(), c.charset);
        EXPECT_EQ(dialogTemplate->typeface(), std::optional<std::u16string>(c.typeface));
        if (c.charset == 0) {
            // No font change at all: the template builds back to the resource's bytes.
            const auto* built = static_cast<const std::uint8_t*>(dialogTemplate->Build());
            EXPECT_TRUE(std::equal(dialog->data.begin(), dialog->data.end(), built));
            dialogTemplate->FreeBuilt();
        }
    }
}

}  // namespace
