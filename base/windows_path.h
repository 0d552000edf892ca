#pragma once

#include <windows.h>

#include <string>

namespace tessara::base {

// The path as the wide-character system calls take it: UTF-16, made absolute, and in the "\\?\" form that lifts
// the 260-character limit (a network path becomes "\\?\UNC\server\share\...").
std::wstring WindowsPath(const std::string& utf8);
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);
// The system's text for an error code, without the trailing full stop and line break it comes with.
std::string SystemReason(DWORD error);

}  // namespace tessara::base
