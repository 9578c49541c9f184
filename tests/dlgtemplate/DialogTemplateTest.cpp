// The template model on golden templates pinning the byte format, and on the program's dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "DialogTemplate.h"
#include "LocaleFont.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Copy(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

Bytes Read(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(file), {}};
}

// The program's dialog as the resource compiler builds it from the resource script.
const Bytes kRealDialog = Read(TORVAN_DIALOG_FILE);

// The program's dialog and the golden templates (names and ordinals of all kinds, creation data,
// odd lengths, a font block by DS_FIXEDSYS alone, none at all) build back to their exact bytes.
TEST(DialogTemplate, BuildsBackExactly) {
    std::vector<std::filesystem::path> files{TORVAN_DIALOG_FILE};
    for (const auto& golden : std::filesystem::directory_iterator(TORVAN_GOLDEN_DIR))
        files.push_back(golden.path());
    for (const auto& file : files) {
        const Bytes bytes = Read(file);
        const auto t = DialogTemplate::FromBytes(bytes);
        ASSERT_NE(t, nullptr) << file;
        t->Build();
        EXPECT_EQ(Copy(t->BuiltBytes()), bytes) << file;
    }
    // A field read and written in the same wrong place would still build back: pin one.
    const auto fixedsys =
        DialogTemplate::FromBytes(Read(TORVAN_GOLDEN_DIR "/fixedsys-two-items.bin"));
    EXPECT_EQ(fixedsys->charset(), 134);
}

// On Chinese systems the program's dialog gets a 9-point Chinese face and charset (Wine's dialog
// manager ignores the charset), and nothing else changes: with the old font back, the old bytes.
TEST(DialogTemplate, LocaleFontReplacesTheFontBlockAlone) {
    for (auto [langId, charset, face] :
         {std::tuple{0x0804, 134, std::u16string_view(u"宋体")}, {0x0404, 136, u"細明體"}}) {
        const auto t = DialogTemplate::FromBytes(kRealDialog);
        ApplyLocaleFont(*t, static_cast<std::uint16_t>(langId));
        t->Build();
        const auto built = DialogTemplate::FromBytes(t->BuiltBytes());
        ASSERT_NE(built, nullptr);
        EXPECT_EQ(std::tuple(built->pointsize(), built->weight(), built->italic(), built->charset(),
                             built->typeface()),
                  std::tuple(9, 400, 0, charset, face));
        built->SetFont(8, 400, 0, 0, u"MS Shell Dlg");
        built->Build();
        EXPECT_EQ(Copy(built->BuiltBytes()), kRealDialog) << std::hex << langId;
    }
}

}  // namespace
