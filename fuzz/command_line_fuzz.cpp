// The command line of vorlaxen-calc: any arguments and any standard input end with status 0
// (done) or 2 (refused, with a message), never a crash. The input's first line holds the
// arguments separated by blanks; the rest is standard input for "--input -". File names are
// left out, so that only standard input is read.
#include "run.hpp"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Takes up to a limit and then refuses, so that a sweep of millions of points ends early as a
// failed write instead of filling memory.
class LimitedBuffer : public std::streambuf {
public:
    explicit LimitedBuffer(std::size_t limit) : left_(limit) {}

protected:
    int_type overflow(int_type c) override {
        if (left_ == 0)
            return traits_type::eof();
        --left_;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize count) override {
        const auto taken = std::min<std::streamsize>(count, static_cast<std::streamsize>(left_));
        left_ -= static_cast<std::size_t>(taken);
        return taken;
    }

private:
    std::size_t left_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto newline = text.find('\n');
    const std::string_view argumentLine = text.substr(0, newline);
    const std::string input(newline == std::string_view::npos ? std::string_view{}
                                                              : text.substr(newline + 1));

    std::vector<std::string> arguments{"vorlaxen-calc"};
    std::size_t start = 0;
    while (start <= argumentLine.size()) {
        auto end = argumentLine.find(' ', start);
        if (end == std::string_view::npos)
            end = argumentLine.size();
        if (end > start)
            arguments.emplace_back(argumentLine.substr(start, end - start));
        start = end + 1;
    }
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const bool option = arguments[i].starts_with('-');
        if (arguments[i].find('/') != std::string::npos ||
            (!option && arguments[i - 1].ends_with("input")) ||
            arguments[i].find("input=") != std::string::npos) {
            if (arguments[i] != "-")
                return 0; // would name a file
        }
    }
    std::vector<const char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(argument.c_str());

    std::istringstream in(input);
    LimitedBuffer outBuffer(1 << 20);
    LimitedBuffer errBuffer(1 << 16);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const int status = cli::run(static_cast<int>(argv.size()), argv.data(), in, out, err);
    if (status != cli::kExitOk && status != cli::kExitBadInput && status != cli::kExitWriteFailed)
        std::abort();
    return 0;
}
