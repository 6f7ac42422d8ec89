// Conversion between the code pages and UTF-8 through ICU, strict or with replacement.
#include "CodePage.h"
#include "IcuConverter.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <cstdint>
#include <string>
#include <utility>

// A fresh converter per call keeps the state of one conversion from leaking into the next;
// ICU caches the tables, so opening is cheap.
IcuConverter OpenIcuConverter(int codePage, bool strict) {
    UErrorCode status = U_ZERO_ERROR;
    IcuConverter converter(ucnv_open(IcuConverterName(codePage), &status));
    if (U_FAILURE(status)) return nullptr;
    if (strict) {
        ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
        ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &status);
    }
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

namespace {

std::optional<std::u16string> Decode(int codePage, std::string_view bytes, bool strict) {
    if (bytes.empty()) return std::u16string();
    if (codePage == kCodePageUtf8) {
        if (strict && !IsValidUtf8(bytes)) return std::nullopt;
        std::u16string out(bytes.size(), u'\0');
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, bytes.data(),
                             static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr, &status);
        if (U_FAILURE(status)) return std::nullopt;
        out.resize(length);
        return out;
    }
    const IcuConverter converter = OpenIcuConverter(codePage, strict);
    if (!converter) return std::nullopt;
    std::u16string out(bytes.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_toUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                   bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(length);
    return out;
}

std::optional<std::string> Encode(int codePage, const std::u16string& text, bool strict) {
    if (text.empty()) return std::string();
    if (codePage == kCodePageUtf8) {
        std::string out(text.size() * 3, '\0');
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        if (strict)
            u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                        static_cast<int32_t>(text.size()), &status);
        else
            u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                               static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
        if (U_FAILURE(status)) return std::nullopt;
        out.resize(length);
        return out;
    }
    const IcuConverter converter = OpenIcuConverter(codePage, strict);
    if (!converter) return std::nullopt;
    std::string out(
        UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter.get())) + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(converter.get(), out.data(), static_cast<int32_t>(out.size()),
                                     text.data(), static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(length);
    return out;
}

} // namespace

std::string ToUtf8(int codePage, std::string_view bytes) {
    if (codePage == kCodePageUtf8 && IsValidUtf8(bytes)) return std::string(bytes);
    std::optional<std::u16string> wide = Decode(codePage, bytes, false);
    if (!wide) return std::string();
    return Encode(kCodePageUtf8, *wide, false).value_or(std::string());
}

std::optional<std::string> FromUtf8(int codePage, std::string_view utf8) {
    return ConvertText(kCodePageUtf8, codePage, utf8);
}

std::optional<std::string> ConvertText(int fromCodePage, int toCodePage, std::string_view bytes) {
    if (!IsSupportedCodePage(fromCodePage) || !IsSupportedCodePage(toCodePage)) return std::nullopt;
    if (fromCodePage == toCodePage) {
        if (toCodePage == kCodePageUtf8 && !IsValidUtf8(bytes)) return std::nullopt;
        if (toCodePage != kCodePageUtf8 && !Decode(fromCodePage, bytes, true)) return std::nullopt;
        return std::string(bytes);
    }
    std::optional<std::u16string> wide = Decode(fromCodePage, bytes, true);
    if (!wide) return std::nullopt;
    return Encode(toCodePage, *wide, true);
}
