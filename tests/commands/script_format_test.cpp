// The script formatter: printf's rules, checked against the C library on formats the
// test builds itself, and hostile formats that must neither write memory nor blow up.
#include "commands/script_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "interpreter/arguments.h"

namespace velcrum {
namespace {

std::string Formatted(std::string_view format, std::vector<FormatArgument> arguments = {},
                      size_t keep = 1 << 20) {
  const FormattedText result = FormatScriptText(format, arguments, keep);
  EXPECT_EQ(result.length, static_cast<int64_t>(result.text.size())) << format;
  return result.text;
}

FormatArgument Number(int32_t value) {
  return {value, std::to_string(value)};
}
FormatArgument Text(const char* text) {
  return {0, text};
}

// The C library as the reference. These formats are the test's own, never a script's.
template <typename... Args>
std::string Reference(const std::string& format, Args... args) {
  std::vector<char> buffer(1 << 16);
  const int length = std::snprintf(buffer.data(), buffer.size(), format.c_str(), args...);
  return std::string(buffer.data(), static_cast<size_t>(length));
}

std::vector<std::string> Directives(const std::string& conversions) {
  const char* flags[] = {"", "-", "+", " ", "#", "0", "-0", "+0", " #", "+#0", "- +"};
  const char* widths[] = {"", "1", "5", "12"};
  const char* precisions[] = {"", ".", ".0", ".1", ".3", ".10"};
  std::vector<std::string> directives;
  for (const char* flag : flags) {
    for (const char* width : widths) {
      for (const char* precision : precisions) {
        for (const char conversion : conversions) {
          directives.push_back(std::string("%") + flag + width + precision + conversion);
        }
      }
    }
  }
  return directives;
}

TEST(ScriptFormatTest, IntegerConversionsAgreeWithPrintf) {
  const int32_t values[] = {0, 1, -1, 7, 42, -42, 255, 4096, INT_MAX, INT_MIN};
  for (const std::string& directive : Directives("diuoxX")) {
    const bool isSigned = directive.back() == 'd' || directive.back() == 'i';
    for (const int32_t value : values) {
      const std::string expected = isSigned ? Reference(directive, value)
                                            : Reference(directive, static_cast<uint32_t>(value));
      ASSERT_EQ(Formatted(directive, {Number(value)}), expected) << directive << " of " << value;
    }
  }
}

TEST(ScriptFormatTest, LengthModifiersAgreeWithPrintf) {
  struct Case {
    const char* ours;
    const char* reference;
  };
  const Case cases[] = {{"%ld", "%d"},  {"%lu", "%u"},  {"%lx", "%x"},    {"%I32d", "%d"},
                        {"%hd", "%hd"}, {"%hu", "%hu"}, {"%hhd", "%hhd"}, {"%hhx", "%hhx"}};
  for (const Case& c : cases) {
    for (const int32_t value : {0, 1, -1, 300, -70000, INT_MIN, INT_MAX}) {
      EXPECT_EQ(Formatted(c.ours, {Number(value)}), Reference(c.reference, value))
          << c.ours << " of " << value;
    }
  }
  // The 64-bit sizes see the 32-bit argument sign-extended.
  EXPECT_EQ(Formatted("%lld %I64x %llu", {Number(-2), Number(-1), Number(-1)}),
            "-2 ffffffffffffffff 18446744073709551615");
}

TEST(ScriptFormatTest, FloatingConversionsAgreeWithPrintf) {
  const int32_t values[] = {0, 1, -1, 5, 10, 99999, 100000, 123456789, -987654321, INT_MAX};
  for (const std::string& directive : Directives("eEfFgG")) {
    for (const int32_t value : values) {
      ASSERT_EQ(Formatted(directive, {Number(value)}),
                Reference(directive, static_cast<double>(value)))
          << directive << " of " << value;
    }
  }
}

TEST(ScriptFormatTest, TextAndCharacterConversionsAgreeWithPrintf) {
  for (const char* directive : {"%s", "%10s", "%-10s", "%.2s", "%8.3s", "%-8.0s", "%.20s"}) {
    for (const char* text : {"", "a", "hello", "a longer text"}) {
      EXPECT_EQ(Formatted(directive, {Text(text)}), Reference(directive, text))
          << directive << " of " << text;
    }
  }
  for (const char* directive : {"%c", "%3c", "%-3c"}) {
    EXPECT_EQ(Formatted(directive, {Number(65)}), Reference(directive, 65)) << directive;
  }
  EXPECT_EQ(Formatted("%S|%-4S|", {Text("up"), Text("x")}), "up|x   |");
}

TEST(ScriptFormatTest, StarTakesWidthAndPrecisionFromTheArguments) {
  EXPECT_EQ(Formatted("%*d|", {Number(5), Number(42)}), "   42|");
  EXPECT_EQ(Formatted("%*d|", {Number(-5), Number(42)}), "42   |");
  EXPECT_EQ(Formatted("%.*f", {Number(2), Number(3)}), "3.00");
  EXPECT_EQ(Formatted("%.*d", {Number(-1), Number(3)}), "3");  // negative: no precision
  EXPECT_EQ(Formatted("%*.*s|", {Number(6), Number(2), Text("abcdef")}), "    ab|");
}

TEST(ScriptFormatTest, HugeFieldsAgreeWithPrintf) {
  for (const char* directive :
       {"%.2000f", "%.1500e", "%#.3000g", "%.3000g", "%1500.1200f", "%.1300d"}) {
    for (const int32_t value : {0, 1, -7, 123456789}) {
      const bool integer = std::string_view(directive).back() == 'd';
      const std::string expected =
          integer ? Reference(directive, value) : Reference(directive, static_cast<double>(value));
      EXPECT_EQ(Formatted(directive, {Number(value)}), expected) << directive << " of " << value;
    }
  }
}

TEST(ScriptFormatTest, HostileFormats) {
  struct Case {
    const char* format;
    std::vector<FormatArgument> arguments;
    std::string expected;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"a%nb", {Number(1234)}, "ab"},  // takes its argument, writes nothing
      {"%n%d", {Number(1), Number(2)}, "2"},
      {"%s|%d|%c|%f", {}, "|0|\0|0.000000"s},  // missing arguments: 0 and the empty text
      {"abc%", {}, "abc%"},                    // a lone "%" at the end stands as written
      {"%-5", {}, "%-5"},
      {"%5l", {}, "%5l"},
      {"%y %-3k", {Number(1)}, "%y %-3k"},  // not a conversion: as written, takes nothing
      {"%%|%5%", {}, "%|%"},
      {"%*d", {Number(4)}, "   0"},
      {"100%", {}, "100%"},
  };
  for (const Case& c : cases) {
    const FormattedText result = FormatScriptText(c.format, c.arguments, 255);
    EXPECT_EQ(result.text, c.expected) << c.format;
    EXPECT_EQ(result.length, static_cast<int64_t>(c.expected.size())) << c.format;
  }
}

TEST(ScriptFormatTest, EnormousResultsAreCountedNotBuilt) {
  FormattedText wide = FormatScriptText("%999999d", std::vector{Number(7)}, 255);
  EXPECT_EQ(wide.length, 999999);
  EXPECT_EQ(wide.text, std::string(254, ' ') + " ");

  FormattedText precise = FormatScriptText("%.999999f", std::vector{Number(1)}, 255);
  EXPECT_EQ(precise.length, 1000001);
  EXPECT_EQ(precise.text, "1." + std::string(253, '0'));

  FormattedText exponent = FormatScriptText("%.999999e", std::vector{Number(5)}, 1 << 21);
  EXPECT_EQ(exponent.length, 1000005);
  EXPECT_EQ(exponent.text.substr(exponent.text.size() - 6), "00e+00");

  // Beyond INT_MAX printf fails; so does the formatter, without building the text.
  FormattedText failed = FormatScriptText("%2147483647d%2147483647d", std::vector{Number(1)}, 255);
  EXPECT_EQ(failed.length, -1);
  FormattedText overflow = FormatScriptText("%99999999999999999999d", std::vector{Number(1)}, 255);
  EXPECT_EQ(overflow.length, -1);
}

TEST(ScriptFormatTest, PointersAreEightHexadecimalDigits) {
  EXPECT_EQ(Formatted("%p|%10p", {Number(255), Number(-1)}), "000000FF|  FFFFFFFF");
}

TEST(ScriptFormatTest, RandomFormatsKeepTheirCountAndPrefix) {
  // Whatever the format, the kept text is a prefix of the whole result and the count
  // matches it; nothing is ever written outside the result.
  const std::string alphabet = "%%%%-+ #0123456789.*hlLIqj64diuoxXcsSeEfFgGpn ab";
  std::mt19937 random(20260101);
  const std::vector<FormatArgument> arguments = {Number(-3), Text("text"), Number(123456),
                                                 Number(0),  Text(""),     Number(INT_MIN)};
  for (int i = 0; i < 20000; ++i) {
    std::string format(random() % 24, ' ');
    for (char& c : format) c = alphabet[random() % alphabet.size()];
    const FormattedText whole = FormatScriptText(format, arguments, 1 << 20);
    const FormattedText cut = FormatScriptText(format, arguments, 16);
    if (whole.length < 0) {
      EXPECT_EQ(cut.length, -1) << format;
      continue;
    }
    if (whole.length <= (1 << 20)) {
      ASSERT_EQ(whole.length, static_cast<int64_t>(whole.text.size())) << format;
    }
    ASSERT_EQ(cut.length, whole.length) << format;
    ASSERT_EQ(cut.text, whole.text.substr(0, 16)) << format;
  }
}

TEST(ScriptFormatTest, TheScanCountsTheArgumentsItTakes) {
  struct Case {
    const char* format;
    int count;
  };
  const Case cases[] = {
      {"n=%ld s=%s", 2}, {"%5d", 1},  {"%c%f", 0}, {"%x%X%u%U%D%L%S", 7},
      {"%%d", 1},        {"%f s", 1}, {"d s", 0},  {"%i %o %e", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CountGatheredArguments(c.format), c.count) << c.format;
}

TEST(ScriptFormatTest, GatheringReadsParametersInOrderAndStopsAtTheLast) {
  GetArguments("SC A$ 'f' 42 'text' 7", 10);
  const auto arguments = GatherFormatArguments("%d %s %d %d", 3, 4);
  ASSERT_EQ(arguments.size(), 2u);
  EXPECT_EQ(arguments[0].number, 42);
  EXPECT_EQ(arguments[0].text, "42");
  EXPECT_EQ(arguments[1].text, "text");
  EXPECT_EQ(GatherFormatArguments("%d %s %d %d", 3, 10).size(), 4u);
}

}  // namespace
}  // namespace velcrum
