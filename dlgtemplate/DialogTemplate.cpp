#include "DialogTemplate.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace {

constexpr std::uint16_t kExtendedSignature = 0xFFFF;
constexpr std::uint16_t kOrdinalMarker = 0xFFFF;
// DS_SETFONT or DS_FIXEDSYS: either one means the template carries a font block.
constexpr std::uint32_t kFontBlockStyles = 0x40 | 0x08;
constexpr std::uint32_t kDsSetFont = 0x40;
// Smallest extended item: helpID, exStyle, style, x/y/cx/cy, id, class, title, extraCount.
constexpr std::size_t kMinExtendedItemSize = 4 + 4 + 4 + 8 + 4 + 2 + 2 + 2;

// The dialog manager reads every item's 32-bit fields at DWORD-aligned offsets.
constexpr std::size_t AlignUp4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

std::size_t StringSize(std::u16string_view text) { return 2 * (text.size() + 1); }

// Bounds-checked little-endian cursor over the input; every read fails instead of running past
// the end.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return data_.size() - offset_; }
    std::span<const std::uint8_t> rest() const { return data_.subspan(offset_); }

    bool Skip(std::size_t count) {
        if (count > remaining()) return false;
        offset_ += count;
        return true;
    }

    bool U8(std::uint8_t& value) {
        const std::size_t at = offset_;
        if (!Skip(1)) return false;
        value = data_[at];
        return true;
    }

    bool U16(std::uint16_t& value) {
        const std::size_t at = offset_;
        if (!Skip(2)) return false;
        value = static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8);
        return true;
    }

    bool I16(std::int16_t& value) {
        std::uint16_t raw = 0;
        if (!U16(raw)) return false;
        value = static_cast<std::int16_t>(raw);
        return true;
    }

    bool U32(std::uint32_t& value) {
        const std::size_t at = offset_;
        if (!Skip(4)) return false;
        value = static_cast<std::uint32_t>(data_[at]) |
                static_cast<std::uint32_t>(data_[at + 1]) << 8 |
                static_cast<std::uint32_t>(data_[at + 2]) << 16 |
                static_cast<std::uint32_t>(data_[at + 3]) << 24;
        return true;
    }

    // Units up to (not including) the 0x0000 terminator, which is consumed too.
    bool String(std::u16string& text) {
        std::u16string units;
        for (std::uint16_t unit = 0;;) {
            if (!U16(unit)) return false;
            if (unit == 0) break;
            units.push_back(static_cast<char16_t>(unit));
        }
        text = std::move(units);
        return true;
    }

    bool Name(NameOrOrdinal& field) {
        std::uint16_t first = 0;
        if (!U16(first)) return false;
        if (first == 0) {
            field = NameOrOrdinal();
            return true;
        }
        if (first == kOrdinalMarker) {
            std::uint16_t ordinal = 0;
            if (!U16(ordinal)) return false;
            field = NameOrOrdinal::FromOrdinal(ordinal);
            return true;
        }
        std::u16string rest;
        if (!String(rest)) return false;
        field = NameOrOrdinal::FromName(static_cast<char16_t>(first) + rest);
        return true;
    }

    bool Bytes(std::vector<std::uint8_t>& bytes, std::size_t count) {
        const std::size_t at = offset_;
        if (!Skip(count)) return false;
        bytes.assign(data_.begin() + static_cast<std::ptrdiff_t>(at),
                     data_.begin() + static_cast<std::ptrdiff_t>(at + count));
        return true;
    }

    bool Align() { return Skip(AlignUp4(offset_) - offset_); }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t offset_ = 0;
};

// Little-endian writer into a buffer sized beforehand; running past it is a bug, not bad input.
class ByteWriter {
  public:
    explicit ByteWriter(std::span<std::uint8_t> out) : out_(out) {}

    std::size_t offset() const { return offset_; }

    void U8(std::uint8_t value) { Put(&value, 1); }
    void U16(std::uint16_t value) {
        const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value),
                                       static_cast<std::uint8_t>(value >> 8)};
        Put(bytes, 2);
    }
    void U32(std::uint32_t value) {
        U16(static_cast<std::uint16_t>(value));
        U16(static_cast<std::uint16_t>(value >> 16));
    }
    void String(std::u16string_view text) {
        for (char16_t unit : text) U16(static_cast<std::uint16_t>(unit));
        U16(0);
    }
    void Name(const NameOrOrdinal& field) {
        const auto first = static_cast<std::uint16_t>(field.tag() & 0xFFFF);
        U16(first);
        if (first == kOrdinalMarker) {
            U16(static_cast<std::uint16_t>(field.tag() >> 16));
        } else if (first != 0) {
            String(field.rest().value_or(std::u16string()));
        }
    }
    void Bytes(std::span<const std::uint8_t> bytes) { Put(bytes.data(), bytes.size()); }
    // Hands the next `count` bytes to a nested writer and moves past them.
    std::span<std::uint8_t> Take(std::size_t count) {
        if (count > out_.size() - offset_) std::abort();
        const auto part = out_.subspan(offset_, count);
        offset_ += count;
        return part;
    }
    void Align() {
        const std::size_t padding = AlignUp4(offset_) - offset_;
        for (std::size_t i = 0; i < padding; ++i) U8(0);
    }

  private:
    void Put(const void* bytes, std::size_t count) {
        if (count > out_.size() - offset_) std::abort();
        if (count != 0) std::memcpy(out_.data() + offset_, bytes, count);
        offset_ += count;
    }

    std::span<std::uint8_t> out_;
    std::size_t offset_ = 0;
};

}  // namespace

// ---- NameOrOrdinal ----

NameOrOrdinal NameOrOrdinal::FromOrdinal(std::uint16_t ordinal) {
    NameOrOrdinal field;
    field.tag_ = static_cast<std::uint32_t>(ordinal) << 16 | kOrdinalMarker;
    return field;
}

NameOrOrdinal NameOrOrdinal::FromName(std::u16string_view name) {
    name = name.substr(0, name.find(u'\0'));  // the serialised form cannot hold a NUL
    NameOrOrdinal field;
    if (name.empty()) return field;
    // A leading 0xFFFF would read back as an ordinal: not a name at all.
    if (name.front() == kOrdinalMarker) std::abort();
    field.tag_ = name.front();
    field.rest_ = std::u16string(name.substr(1));
    return field;
}

std::size_t NameOrOrdinal::SerializedSize() const {
    if (IsAbsent()) return 2;
    if (IsOrdinal()) return 4;
    return 2 + StringSize(rest_.value_or(std::u16string()));
}

// ---- DialogItem ----

std::optional<std::size_t> DialogItem::Parse(std::span<const std::uint8_t> data, bool extended) {
    ByteReader in(data);
    // Read into a scratch item so a failed parse leaves this one untouched.
    DialogItem item;
    std::uint16_t extraCount = 0;
    const bool ok = (!extended || in.U32(item.helpID_)) && in.U32(item.exStyle_) &&
                    in.U32(item.style_) && in.I16(item.x_) && in.I16(item.y_) && in.I16(item.cx_) &&
                    in.I16(item.cy_) && in.U32(item.id_) && in.Name(item.windowClass_) &&
                    in.Name(item.title_) && in.U16(extraCount) &&
                    in.Bytes(item.creationData_, extraCount);
    if (!ok) return std::nullopt;
    *this = std::move(item);
    return in.offset();
}

std::size_t DialogItem::SerializedSize(bool extended) const {
    return (extended ? 4 : 0) + 4 + 4 + 8 + 4 + windowClass_.SerializedSize() +
           title_.SerializedSize() + 2 + creationData_.size();
}

std::size_t DialogItem::Write(std::span<std::uint8_t> out, bool extended) const {
    ByteWriter w(out);
    if (extended) w.U32(helpID_);
    w.U32(exStyle_);
    w.U32(style_);
    w.U16(static_cast<std::uint16_t>(x_));
    w.U16(static_cast<std::uint16_t>(y_));
    w.U16(static_cast<std::uint16_t>(cx_));
    w.U16(static_cast<std::uint16_t>(cy_));
    w.U32(id_);
    w.Name(windowClass_);
    w.Name(title_);
    w.U16(static_cast<std::uint16_t>(creationData_.size()));
    w.Bytes(creationData_);
    return w.offset();
}

// ---- DialogTemplate ----

std::unique_ptr<DialogTemplate> DialogTemplate::FromBytes(std::span<const std::uint8_t> data) {
    std::unique_ptr<DialogTemplate> model(new DialogTemplate());
    if (!model->Parse(data)) return nullptr;
    return model;
}

bool DialogTemplate::Parse(std::span<const std::uint8_t> data) {
    ByteReader in(data);
    std::uint16_t count = 0;
    if (!in.U16(dlgVer_) || !in.U16(signature_) || signature_ != kExtendedSignature ||
        !in.U32(helpID_) || !in.U32(exStyle_) || !in.U32(style_) || !in.U16(count) || !in.I16(x_) ||
        !in.I16(y_) || !in.I16(cx_) || !in.I16(cy_) || !in.Name(menu_) || !in.Name(windowClass_) ||
        !in.String(title_)) {
        return false;
    }
    if (HasFontBlock()) {
        std::u16string face;
        if (!in.U16(pointsize_) || !in.U16(weight_) || !in.U8(italic_) || !in.U8(charset_) ||
            !in.String(face)) {
            return false;
        }
        typeface_ = std::move(face);
    }

    // Reject an impossible count before allocating for it.
    const std::size_t itemsStart = AlignUp4(in.offset());
    const std::size_t available = data.size() > itemsStart ? data.size() - itemsStart : 0;
    if (count != 0 && available < count * kMinExtendedItemSize) return false;
    items_ = std::make_unique<DialogItem[]>(count);
    itemCount_ = count;
    for (std::size_t i = 0; i < count; ++i) {
        if (!in.Align()) return false;
        const auto used = items_[i].Parse(in.rest(), IsExtended());
        if (!used) return false;
        in.Skip(*used);
    }

    parsedSize_ = in.offset();
    const std::size_t size = parsedSize_ + 4 * std::size_t{count} + 2;
    if (size > std::numeric_limits<std::uint32_t>::max()) return false;
    builtSize_ = static_cast<std::uint32_t>(size);
    return true;
}

bool DialogTemplate::HasFontBlock() const { return (style_ & kFontBlockStyles) != 0; }

void DialogTemplate::SetFont(std::uint16_t pointsize, std::uint16_t weight, std::uint8_t italic,
                             std::uint8_t charset, std::optional<std::u16string_view> typeface) {
    if (typeface && typeface_) {
        builtSize_ -= static_cast<std::uint32_t>(2 * typeface_->size());
        typeface_.reset();
    }
    style_ |= kDsSetFont;
    pointsize_ = pointsize;
    weight_ = weight;
    italic_ = italic;
    charset_ = charset;
    if (typeface) {
        // A NUL would end the name early in the serialised form.
        typeface_ = std::u16string(typeface->substr(0, typeface->find(u'\0')));
        builtSize_ += static_cast<std::uint32_t>(2 * typeface_->size());
    }
}

std::size_t DialogTemplate::SerializedSize() const {
    std::size_t size = 2 + 2 + (IsExtended() ? 4 : 0) + 4 + 4 + 2 + 8 + menu_.SerializedSize() +
                       windowClass_.SerializedSize() + StringSize(title_);
    if (HasFontBlock()) size += 6 + StringSize(typeface_.value_or(std::u16string()));
    for (const DialogItem& item : items()) {
        size = AlignUp4(size) + item.SerializedSize(IsExtended());
    }
    return size;
}

std::size_t DialogTemplate::WriteTo(std::span<std::uint8_t> out) const {
    ByteWriter w(out);
    w.U16(dlgVer_);
    w.U16(signature_);
    if (IsExtended()) w.U32(helpID_);
    w.U32(exStyle_);
    w.U32(style_);
    w.U16(itemCount_);
    w.U16(static_cast<std::uint16_t>(x_));
    w.U16(static_cast<std::uint16_t>(y_));
    w.U16(static_cast<std::uint16_t>(cx_));
    w.U16(static_cast<std::uint16_t>(cy_));
    w.Name(menu_);
    w.Name(windowClass_);
    w.String(title_);
    if (HasFontBlock()) {
        w.U16(pointsize_);
        w.U16(weight_);
        w.U8(italic_);
        w.U8(charset_);
        // A font block without a typeface still needs its terminator to stay parseable.
        w.String(typeface_.value_or(std::u16string()));
    }
    for (const DialogItem& item : items()) {
        w.Align();
        const std::size_t size = item.SerializedSize(IsExtended());
        if (item.Write(w.Take(size), IsExtended()) != size) std::abort();
    }
    return w.offset();
}

const void* DialogTemplate::Build() {
    if (builtBuffer_) return builtBuffer_.get();
    const std::size_t length = SerializedSize();
    // builtSize can fall short of the bytes written (a font block SetFont added); never allocate
    // less than is written.
    const std::size_t capacity = std::max<std::size_t>(length, builtSize_);
    auto buffer = std::make_unique<std::uint32_t[]>(AlignUp4(capacity) / 4);
    const std::span<std::uint8_t> bytes(reinterpret_cast<std::uint8_t*>(buffer.get()), length);
    if (WriteTo(bytes) != length) std::abort();
    builtBuffer_ = std::move(buffer);
    builtLength_ = length;
    return builtBuffer_.get();
}

void DialogTemplate::FreeBuilt() {
    builtBuffer_.reset();
    builtLength_ = 0;
}

std::span<const std::uint8_t> DialogTemplate::BuiltBytes() const {
    if (!builtBuffer_) return {};
    return {reinterpret_cast<const std::uint8_t*>(builtBuffer_.get()), builtLength_};
}
