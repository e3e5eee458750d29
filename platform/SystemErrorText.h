#pragma once

// The reason part of the program's error messages ("... は開けません。<reason>",
// "Socket エラー # 10061 CR LF <reason>") in Japanese, as Shift_JIS bytes.
// Plain C++: the file, mail and drawing modules use it without Qt.

#include <string>

namespace platform {

// The reason for a C library error number (errno). The C library's own
// Japanese message is used when a Japanese locale is installed; otherwise
// the program's own text for the usual failures, or "システム エラー <n>".
std::string SystemErrorText(int errorNumber);

// The program's own Japanese text for an error number, without asking the
// C library; "システム エラー <n>" for numbers it has no text for.
std::string OwnSystemErrorText(int errorNumber);

// The reason for a failed name lookup (a getaddrinfo result code).
// systemError is errno at the time of the failure, used for EAI_SYSTEM.
std::string HostLookupErrorText(int lookupCode, int systemError = 0);

} // namespace platform
