#include "TextConverter.h"

#include "CodePage.h"
#include "IcuConverter.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>

namespace {

// A strict converter for a legacy page; none for UTF-8, which ICU's string functions handle.
IcuConverter Open(int codePage) {
    if (codePage == kCodePageUtf8 || !IsSupportedCodePage(codePage)) return nullptr;
    return OpenIcuConverter(codePage, true);
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

struct TextConverter::Impl {
    int from;
    int to;
    IcuConverter decoder;
    IcuConverter encoder;
    std::u16string wide;
    Fault fault = Fault::None;
};

TextConverter::TextConverter(int fromCodePage, int toCodePage)
    : impl_(std::make_unique<Impl>(
          Impl{fromCodePage, toCodePage, Open(fromCodePage), Open(toCodePage), {}})) {}

TextConverter::~TextConverter() = default;

bool TextConverter::Converts() const {
    return impl_->from != impl_->to;
}

TextConverter::Fault TextConverter::LastFault() const {
    return impl_->fault;
}

bool TextConverter::Convert(std::string_view bytes, std::string& out) {
    Impl& c = *impl_;
    c.fault = Fault::None;
    // What the source page cannot read is the source's fault, whatever the target is.
    auto unreadable = [&c] {
        c.fault = Fault::Unreadable;
        return false;
    };
    auto unheld = [&c] {
        c.fault = Fault::Unheld;
        return false;
    };
    if (!IsSupportedCodePage(c.from) || !IsSupportedCodePage(c.to)) return unheld();
    if (!Converts()) {
        // The same page: the text is only checked.
        if (!ConvertText(c.from, c.to, bytes)) return unreadable();
        out.assign(bytes);
        return true;
    }
    // ASCII is ASCII in every page here except Shift-JIS, whose table may differ at 5C and 7E.
    if (c.from != kCodePageShiftJis && c.to != kCodePageShiftJis && IsAscii(bytes)) {
        out.assign(bytes);
        return true;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    c.wide.resize(bytes.size() + 1);
    if (c.from == kCodePageUtf8) {
        if (!IsValidUtf8(bytes)) return unreadable();
        u_strFromUTF8(c.wide.data(), static_cast<int32_t>(c.wide.size()), &length, bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
    } else {
        if (!c.decoder) return unreadable();
        ucnv_resetToUnicode(c.decoder.get());
        length = ucnv_toUChars(c.decoder.get(), c.wide.data(), static_cast<int32_t>(c.wide.size()),
                               bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    }
    if (U_FAILURE(status)) return unreadable();
    const int32_t wideLength = length;
    status = U_ZERO_ERROR;
    if (c.to == kCodePageUtf8) {
        out.resize(static_cast<std::size_t>(wideLength) * 3);
        u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, c.wide.data(),
                    wideLength, &status);
    } else {
        if (!c.encoder) return unheld();
        ucnv_resetFromUnicode(c.encoder.get());
        out.resize(static_cast<std::size_t>(
            UCNV_GET_MAX_BYTES_FOR_STRING(wideLength, ucnv_getMaxCharSize(c.encoder.get())) + 1));
        length = ucnv_fromUChars(c.encoder.get(), out.data(), static_cast<int32_t>(out.size()),
                                 c.wide.data(), wideLength, &status);
    }
    if (U_FAILURE(status)) return unheld();
    out.resize(static_cast<std::size_t>(length));
    return true;
}
