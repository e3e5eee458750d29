#pragma once

// Line-end detection and conversion. Pure functions on byte strings.

#include <string>

namespace jconvert {

// Line-end codes: results of ReturnCodeCheck, InCode / OutCode arguments.
inline constexpr int RET_NONE = 0; // no line end found
inline constexpr int RET_CRLF = 1; // CR LF
inline constexpr int RET_CR = 2; // CR
inline constexpr int RET_LF = 3; // LF

// The convention of the first line end in text (RET_NONE when there is none).
int ReturnCodeCheck(const std::string& text);

// Rewrites every line end of the detected convention to OutCode's; an OutCode
// outside RET_CRLF..RET_LF removes them. Returns text unchanged when no line
// end is found or the convention is already OutCode.
std::string ConvertReturnCode(const std::string& text, int OutCode);
// As ConvertReturnCode with the input convention given; an InCode outside
// RET_CRLF..RET_LF returns text unchanged. Only whole line ends of InCode are
// rewritten: a lone CR in CR LF text is kept as it is.
std::string StrictConvertReturnCode(const std::string& text, int InCode, int OutCode);

} // namespace jconvert
