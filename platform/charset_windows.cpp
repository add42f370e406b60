#include "charset.h"
#include "text/ascii.h"

#include <climits>
#include <utility>
#include <windows.h>

namespace platform {
namespace {

// The character sets of mail that Windows has code pages for, by the names messages use.
constexpr std::pair<std::string_view, UINT> kCodePages[] = {
    {"utf-8", CP_UTF8},
    {"us-ascii", 20127},
    {"iso-8859-1", 28591},
    {"iso-8859-2", 28592},
    {"iso-8859-3", 28593},
    {"iso-8859-4", 28594},
    {"iso-8859-5", 28595},
    {"iso-8859-6", 28596},
    {"iso-8859-7", 28597},
    {"iso-8859-8", 28598},
    {"iso-8859-8-i", 38598},
    {"iso-8859-9", 28599},
    {"iso-8859-13", 28603},
    {"iso-8859-15", 28605},
    {"windows-1250", 1250},
    {"windows-1251", 1251},
    {"windows-1252", 1252},
    {"windows-1253", 1253},
    {"windows-1254", 1254},
    {"windows-1255", 1255},
    {"windows-1256", 1256},
    {"windows-1257", 1257},
    {"windows-1258", 1258},
    {"koi8-r", 20866},
    {"koi8-u", 21866},
    {"shift_jis", 932},
    {"x-sjis", 932},
    {"iso-2022-jp", 50220},
    {"euc-jp", 51932},
    {"gb2312", 936},
    {"gbk", 936},
    {"gb18030", 54936},
    {"big5", 950},
    {"euc-kr", 51949},
    {"ks_c_5601-1987", 949},
    {"utf-7", 65000},
    {"unicode-1-1-utf-7", 65000},
    {"x-mac-roman", 10000},
    {"ibm850", 850},
    {"ibm437", 437},
    {"cp850", 850},
    {"cp437", 437},
};

std::optional<UINT> CodePageNamed(std::string_view charset) {
  charset = charset.substr(0, charset.find('*'));
  for (const auto& [name, code_page] : kCodePages) {
    if (text::EqualsIgnoringAsciiCase(charset, name))
      return code_page;
  }
  return std::nullopt;
}

} // namespace

std::optional<std::string> ConvertToUtf8(std::string_view charset, std::string_view bytes) {
  const std::optional<UINT> code_page = CodePageNamed(charset);
  if (!code_page || bytes.size() > INT_MAX / 2)
    return std::nullopt;
  if (bytes.empty())
    return std::string();
  const int size = static_cast<int>(bytes.size());
  // Without MB_ERR_INVALID_CHARS, bytes a code page does not allow become U+FFFD.
  const int wide_size = ::MultiByteToWideChar(*code_page, 0, bytes.data(), size, nullptr, 0);
  if (wide_size <= 0)
    return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  ::MultiByteToWideChar(*code_page, 0, bytes.data(), size, wide.data(), wide_size);
  const int utf8_size =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(utf8_size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(), utf8_size, nullptr,
                        nullptr);
  return utf8;
}

} // namespace platform
