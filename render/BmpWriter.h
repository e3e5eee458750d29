#pragma once

#include "render/Canvas.h"

#include <string>

namespace render {

// Writes the canvas as an uncompressed 24-bit BMP (BITMAPINFOHEADER, rows
// bottom-up, padded to 4 bytes with zeros). The file is written beside path
// under a temporary name and renamed over path only when complete, so a
// failed write leaves any earlier file whole. Failure raises RenderError
// "ファイル "%s" を作成できません。%s".
void WriteBmpFile(const Canvas& canvas, const std::string& path);

} // namespace render
