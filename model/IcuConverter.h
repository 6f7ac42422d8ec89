#pragma once
// An ICU converter for one of the supported code pages, closed when it goes, as the conversion
// files of the model open them. Not for use outside the model.
#include <unicode/ucnv.h>

#include <memory>

struct IcuConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using IcuConverter = std::unique_ptr<UConverter, IcuConverterCloser>;

// A converter of the page by IcuConverterName; strict ones stop at a byte that does not decode
// and at a character the page cannot hold instead of replacing it. Null when ICU cannot open one.
IcuConverter OpenIcuConverter(int codePage, bool strict);
