#include "runtime/name_encoding.h"
#include "runtime/windows_api.h"

namespace nerbo {
namespace {

std::wstring FromUtf8(const std::string& utf8) {
  int length = static_cast<int>(utf8.size());
  int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, &text[0], size);
  return text;
}

}  // namespace

std::optional<std::string> NativeNameFromUtf8(const std::string& utf8) {
  if (utf8.empty()) return std::string();
  std::wstring text = FromUtf8(utf8);
  bool utf8_code_page = GetACP() == CP_UTF8;
  DWORD flags = utf8_code_page ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* lost = utf8_code_page ? nullptr : &used_default;  // UTF-8 takes no default character
  int length = static_cast<int>(text.size());
  int size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, lost);
  if (size <= 0 || used_default) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, text.data(), length, &ansi[0], size, nullptr, nullptr);
  return ansi;
}

}  // namespace nerbo
