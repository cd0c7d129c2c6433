#include "platform/StandardOutput.hpp"

#include <cstdio>
#include <streambuf>

namespace platform {
namespace {

class StdioBuffer : public std::streambuf {
public:
    explicit StdioBuffer(std::FILE* file) : file_(file) {}

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        return std::fputc(traits_type::to_char_type(c), file_) == EOF ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* text, std::streamsize n) override {
        return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<std::size_t>(n), file_));
    }
    int sync() override { return std::fflush(file_) == 0 ? 0 : -1; }

private:
    std::FILE* file_;
};

}  // namespace

std::ostream& standardOutput() {
    // Never destroyed: something may still print while the process ends.
    static auto* buffer = new StdioBuffer(stdout);
    static auto* stream = new std::ostream(buffer);
    return *stream;
}

}  // namespace platform
