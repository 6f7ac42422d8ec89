#pragma once
// A stream buffer that counts nothing and keeps nothing: a writer's cost of formatting alone.
#include <streambuf>

class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};
