#include "number_text.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

using fields::formatFloat;
using fields::parseFloat;
using fields::shortestFloat;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Shown {
    float value;
    const char* text;
};

TEST(FormatFloat, ShowsSixSignificantDigitsAsPrintfG) {
    const Shown cases[] = {
        {4.3f, "4.3"},
        {77282.7f, "77282.7"},
        {1339.0f, "1339"},
        {0.0f, "0"},
        {-0.0f, "-0"},
        {1.41307f, "1.41307"},
        {1234567.0f, "1.23457e+06"},
        {0.0001f, "0.0001"},
        {0.00001f, "1e-05"},
        {-1.5f, "-1.5"},
        {12.7f, "12.7"},
        {kInf, "inf"},
        {-kInf, "-inf"},
        {kNaN, "nan"},
        {-kNaN, "nan"},
        {std::numeric_limits<float>::max(), "3.40282e+38"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFloat(c.value), c.text) << c.text;
}

TEST(FormatFloat, IgnoresTheLocale) {
    // Qt applications set the C library's locale from the environment; the text must not follow.
    const char* chosen = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (!chosen)
        chosen = std::setlocale(LC_ALL, "fr_FR.UTF-8");
    EXPECT_EQ(formatFloat(4.3f), "4.3");
    EXPECT_EQ(parseFloat("4.3"), 4.3f);
    EXPECT_FALSE(parseFloat("4,3"));
    std::setlocale(LC_ALL, "C");
    if (!chosen)
        GTEST_SKIP() << "no German or French locale on this machine; checked under C only";
}

struct Read {
    const char* text;
    bool accepted;
    float value;
};

TEST(ParseFloat, AcceptsNumbersAndRefusesEverythingElse) {
    const Read cases[] = {
        {"4.3", true, 4.3f},
        {"  15 ", true, 15.0f},
        {"+2", true, 2.0f},
        {"-1", true, -1.0f},
        {"1e3", true, 1000.0f},
        {"1E-3", true, 0.001f},
        {".5", true, 0.5f},
        {"5.", true, 5.0f},
        {"inf", true, kInf},
        {"-inf", true, -kInf},
        {"INF", true, kInf},
        {"1e-50", true, 0.0f},
        {"1e-40", true, 1e-40f},
        {"3.4028235e38", true, std::numeric_limits<float>::max()},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"4,3", false, 0},
        {"1e39", false, 0},
        {"-1e39", false, 0},
        {"1e", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"++1", false, 0},
        {"0x10", false, 0},
        {"1 2", false, 0},
        {"1e999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        const auto read = parseFloat(c.text);
        ASSERT_EQ(read.has_value(), c.accepted) << '"' << c.text << '"';
        if (c.accepted) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(*read), std::bit_cast<std::uint32_t>(c.value))
                << '"' << c.text << '"';
        }
    }
}

TEST(ParseFloat, TinyNumbersReadAsZeroOfTheirSign) {
    const Read cases[] = {
        {"-1e-50", true, -0.0f},
        {"1e-999999999999", true, 0.0f},
        {"0.0000000000000000000000000000000000000000000000000001", true, 0.0f},
    };
    for (const auto& c : cases) {
        const auto read = parseFloat(c.text);
        ASSERT_TRUE(read) << c.text;
        EXPECT_EQ(*read, 0.0f);
        EXPECT_EQ(std::signbit(*read), std::signbit(c.value)) << c.text;
    }
}

TEST(ParseFloat, ReadsNaNAsWrittenByTheProgram) {
    const auto read = parseFloat(formatFloat(kNaN));
    ASSERT_TRUE(read);
    EXPECT_TRUE(std::isnan(*read));
}

TEST(ParseFloat, LongTextsAreJudgedWhole) {
    EXPECT_FALSE(parseFloat("1" + std::string(10'000, '0'))); // far beyond a float
    const auto small = parseFloat("0." + std::string(10'000, '0') + "1");
    ASSERT_TRUE(small);
    EXPECT_EQ(*small, 0.0f);
    const auto one = parseFloat("1." + std::string(10'000, '0'));
    ASSERT_TRUE(one);
    EXPECT_EQ(*one, 1.0f);
}

TEST(ShortestFloat, ReadsBackToTheSameFloat) {
    const float values[] = {4.3f,   0.1f,        1.41307f, 3.1415927f,
                            1e-45f, 1e-40f,      77282.7f, std::numeric_limits<float>::max(),
                            -0.0f,  123456789.0f};
    for (const float v : values) {
        const auto read = parseFloat(shortestFloat(v));
        ASSERT_TRUE(read) << shortestFloat(v);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*read), std::bit_cast<std::uint32_t>(v))
            << shortestFloat(v);
    }
    EXPECT_EQ(shortestFloat(4.3f), "4.3");
    EXPECT_EQ(shortestFloat(-kInf), "-inf");
    EXPECT_EQ(shortestFloat(-kNaN), "nan");
}

// The reason a refused text gives, which the command line's and the explorer's messages word.
TEST(NumberText, WhyATextIsNotANumber) {
    using fields::NotANumber;
    const struct {
        const char* text;
        NotANumber why;
    } cases[] = {
        {"", NotANumber::Empty},           {" \t ", NotANumber::Empty},
        {"4,3", NotANumber::DecimalComma}, {" 1e39 ", NotANumber::TooLarge},
        {"+1e39", NotANumber::TooLarge},   {"-1e39", NotANumber::TooLarge},
        {"1e39x", NotANumber::Other},      {"abc", NotANumber::Other},
        {"+-1", NotANumber::Other},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(parseFloat(c.text)) << '"' << c.text << '"';
        EXPECT_EQ(fields::whyNotANumber(c.text), c.why) << '"' << c.text << '"';
    }
}

// One wording for every reason, whichever window or command says it.
TEST(NumberText, NotANumberInWords) {
    const struct {
        const char *text, *words;
    } cases[] = {
        {" \r\n", "a number is missing"},
        {"4,3", "\"4,3\" is not a number (the decimal point is '.')"},
        {"-1e39", "\"-1e39\" is out of range (the largest number is 3.40282e+38)"},
        {"12 psi", "\"12 psi\" is not a number"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fields::notANumber(c.text), c.words);
}

} // namespace
