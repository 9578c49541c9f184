// The template model against the real dialog manager: the exe carries its own copy of the
// program's dialog resource, loads it, optionally swaps the font, builds it and creates the dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "DialogTemplate.h"
#include "ResourceIds.h"

namespace {

// Destroys the modeless dialog when the test ends.
class DialogWindow {
  public:
    explicit DialogWindow(HWND window) : window_(window) {}
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    ~DialogWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    HWND get() const { return window_; }

  private:
    HWND window_;
};

INT_PTR CALLBACK IgnoreEverything(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

const char* ClassNameForOrdinal(std::uint16_t ordinal) {
    switch (ordinal) {
        case 0x80:
            return "Button";
        case 0x81:
            return "Edit";
        case 0x82:
            return "Static";
        case 0x85:
            return "ComboBox";
        default:
            return "?";
    }
}

// Header (26 bytes), absent menu and class (2 each), then the title with its terminator.
std::size_t FontBlockOffset(const DialogTemplate& t) {
    return 26 + 2 + 2 + 2 * (t.title().size() + 1);
}

struct FontCase {
    const char* name;
    bool setFont;
    std::uint16_t pointsize;
    std::uint8_t charset;
    std::u16string typeface;
};

void PrintTo(const FontCase& font, std::ostream* out) { *out << font.name; }

class DialogManager : public ::testing::TestWithParam<FontCase> {};

TEST_P(DialogManager, CreatesEveryControlWhereTheTemplateSays) {
    const FontCase& font = GetParam();
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const auto t = DialogTemplate::LoadFromResource(instance, IDD_SETTINGS);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->items().size(), 20u);
    if (font.setFont) t->SetFont(font.pointsize, 400, 0, font.charset, font.typeface);

    const void* built = t->Build();
    ASSERT_EQ(reinterpret_cast<std::uintptr_t>(built) % 4, 0u);
    // The charset is in the template itself; the dialog manager does not report it back.
    const auto bytes = t->BuiltBytes();
    const std::size_t fontAt = FontBlockOffset(*t);
    ASSERT_GT(bytes.size(), fontAt + 6);
    EXPECT_EQ(bytes[fontAt], font.pointsize);
    EXPECT_EQ(bytes[fontAt + 5], font.charset);

    const DialogWindow dialog(CreateDialogIndirectParamA(
        instance, static_cast<LPCDLGTEMPLATEA>(built), nullptr, IgnoreEverything, 0));
    ASSERT_NE(dialog.get(), nullptr)
        << "CreateDialogIndirectParamA failed, error " << GetLastError();

    // Direct children in z-order, which is template order.
    HWND child = GetWindow(dialog.get(), GW_CHILD);
    for (const DialogItem& item : t->items()) {
        SCOPED_TRACE("control " + std::to_string(item.id()));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(static_cast<std::uint32_t>(GetDlgCtrlID(child)), item.id());
        EXPECT_EQ(GetDlgItem(dialog.get(), static_cast<int>(item.id())), child);

        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(className, ClassNameForOrdinal(item.windowClass().Ordinal()));

        // Position and size go through the dialog units separately, as the dialog manager maps
        // them, so a rounded bottom edge is not taken for a misplaced control.
        RECT expected = {item.x(), item.y(), item.cx(), item.cy()};
        ASSERT_TRUE(MapDialogRect(dialog.get(), &expected));
        RECT actual = {};
        ASSERT_TRUE(GetWindowRect(child, &actual));
        MapWindowPoints(nullptr, dialog.get(), reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        // A drop-down list's height in the template is that of its open list, not of the box.
        if (item.windowClass().Ordinal() != 0x85) {
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more windows than template items";

    // The dialog font as the dialog manager created it from the template.
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog.get(), WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    LOGFONTW logFont = {};
    ASSERT_EQ(GetObjectW(dialogFont, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(logFont.lfFaceName)), font.typeface);
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(logFont.lfHeight, -MulDiv(font.pointsize, pixelsPerInch, 72));
}

INSTANTIATE_TEST_SUITE_P(Fonts, DialogManager,
                         ::testing::Values(FontCase{"ResourceFont", false, 8, 0, u"MS Shell Dlg"},
                                           FontCase{"TraditionalChinese", true, 9, 136, u"細明體"},
                                           FontCase{"SimplifiedChinese", true, 9, 134, u"宋体"}),
                         [](const ::testing::TestParamInfo<FontCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(LoadFromResource, MissingDialogGivesNull) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    EXPECT_EQ(DialogTemplate::LoadFromResource(instance, 999), nullptr);
    // An id that belongs to another resource type names no dialog either.
    EXPECT_EQ(DialogTemplate::LoadFromResource(instance, IDI_APP), nullptr);
}

}  // namespace
