#pragma once

// The Japanese text codec: one include for the whole public interface.
// Every function takes and returns byte strings (std::string, which may hold
// zero bytes), never throws and never reads outside its input.

#include "jconvert/codes.h"       // detection and JIS / EUC-JP / Shift_JIS conversion
#include "jconvert/line_ends.h"   // line-end detection and conversion
#include "jconvert/coders.h"      // Base64, uuencode, BinHex six-bit coders
#include "jconvert/cp932.h"       // code page 932 <-> UTF-8
#include "jconvert/mime_header.h" // MIME encoded-word headers
#include "jconvert/sjis.h"        // Shift_JIS classification and search
