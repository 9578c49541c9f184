// In-memory model of an extended dialog template (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items):
// parsed from bytes, font replaceable, serialised back into a 4-byte-aligned buffer for the
// dialog manager. Portable: loading it from a module's resource is DialogTemplateResource.h's.
#ifndef TORVAN_DLGTEMPLATE_DIALOGTEMPLATE_H
#define TORVAN_DLGTEMPLATE_DIALOGTEMPLATE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A menu, class or item-title field: absent (0x0000), an ordinal (0xFFFF, n) or a NUL-ended name.
// Held as a 32-bit tag whose low 16 bits are the field's first unit (the ordinal sits in the high
// 16 bits) plus, for a name only, the characters after the first one.
class NameOrOrdinal {
  public:
    NameOrOrdinal() = default;  // absent
    static NameOrOrdinal FromOrdinal(std::uint16_t ordinal);
    // Cut at its first NUL; empty, it gives an absent field; starting with 0xFFFF, it aborts.
    static NameOrOrdinal FromName(std::u16string_view name);

    std::uint32_t tag() const { return tag_; }
    const std::optional<std::u16string>& rest() const { return rest_; }
    bool IsAbsent() const { return FirstUnit() == 0x0000; }
    bool IsOrdinal() const { return FirstUnit() == 0xFFFF; }
    std::size_t SerializedSize() const;

  private:
    std::uint16_t FirstUnit() const { return static_cast<std::uint16_t>(tag_ & 0xFFFF); }

    std::uint32_t tag_ = 0;
    std::optional<std::u16string> rest_;
};

// One control of the template. Default-constructed with every field zero and every string absent.
class DialogItem {
  public:
    // Reads one item from the start of `data` (already aligned by the caller). `extended` decides
    // only whether the item's helpID is present. Returns the bytes consumed, or std::nullopt if
    // `data` ends before the item does.
    std::optional<std::size_t> Parse(std::span<const std::uint8_t> data, bool extended);
    // Writes the item to the start of `out`, which must hold SerializedSize(extended) bytes.
    // Returns the bytes written. No alignment: the caller aligns.
    std::size_t Write(std::span<std::uint8_t> out, bool extended) const;
    std::size_t SerializedSize(bool extended) const;

  private:
    std::uint32_t helpID_ = 0;
    std::uint32_t exStyle_ = 0;
    std::uint32_t style_ = 0;
    std::int16_t x_ = 0, y_ = 0, cx_ = 0, cy_ = 0;
    std::uint32_t id_ = 0;
    NameOrOrdinal windowClass_;
    NameOrOrdinal title_;
    std::vector<std::uint8_t> creationData_;  // extraCount bytes, empty when 0
};

class DialogTemplate {
  public:
    // Parses an extended template held in `data` and never reads past its end. nullptr for
    // truncated or malformed data and for classic templates.
    static std::unique_ptr<DialogTemplate> FromBytes(std::span<const std::uint8_t> data);

    DialogTemplate(const DialogTemplate&) = delete;
    DialogTemplate& operator=(const DialogTemplate&) = delete;
    ~DialogTemplate() = default;  // releases the parsed content and any serialised copy

    // Replaces the font and sets DS_SETFONT. With no typeface the held one stays.
    void SetFont(std::uint16_t pointsize, std::uint16_t weight, std::uint8_t italic,
                 std::uint8_t charset, std::optional<std::u16string_view> typeface);
    // The serialised template, 4-byte aligned, valid until FreeBuilt() or destruction. Once built
    // the same copy is returned again, edits included only after FreeBuilt().
    const void* Build();
    void FreeBuilt();
    // The bytes the last Build() wrote (empty when not built).
    std::span<const std::uint8_t> BuiltBytes() const;

    // Parsed length + 4 per item + 2, moved by SetFont's typeface lengths. Build never allocates
    // less than it writes, whichever is larger.
    std::uint32_t builtSize() const { return builtSize_; }
    // Offset just after the last item of the parsed data.
    std::size_t parsedSize() const { return parsedSize_; }

    std::uint16_t pointsize() const { return pointsize_; }
    std::uint16_t weight() const { return weight_; }
    std::uint8_t italic() const { return italic_; }
    std::uint8_t charset() const { return charset_; }
    const std::optional<std::u16string>& typeface() const { return typeface_; }

  private:
    DialogTemplate() = default;
    bool Parse(std::span<const std::uint8_t> data);
    std::span<const DialogItem> items() const { return {items_.get(), itemCount_}; }
    bool IsExtended() const { return signature_ == 0xFFFF; }
    bool HasFontBlock() const;
    std::size_t SerializedSize() const;
    std::size_t WriteTo(std::span<std::uint8_t> out) const;

    std::uint16_t dlgVer_ = 0;
    std::uint16_t signature_ = 0;
    std::uint32_t helpID_ = 0;
    std::uint32_t exStyle_ = 0;
    std::uint32_t style_ = 0;
    std::uint16_t itemCount_ = 0;
    std::int16_t x_ = 0, y_ = 0, cx_ = 0, cy_ = 0;
    NameOrOrdinal menu_;
    NameOrOrdinal windowClass_;
    std::u16string title_;
    std::uint16_t pointsize_ = 0;
    std::uint16_t weight_ = 0;
    std::uint8_t italic_ = 0;
    std::uint8_t charset_ = 0;
    std::optional<std::u16string> typeface_;
    std::unique_ptr<DialogItem[]> items_;
    std::size_t parsedSize_ = 0;
    std::uint32_t builtSize_ = 0;
    // The serialised copy; uint32 units keep it 4-byte aligned. Non-null means built.
    std::unique_ptr<std::uint32_t[]> builtBuffer_;
    std::size_t builtLength_ = 0;
};

#endif
