#pragma once

namespace render {

// Layout state of one text block, shared by the block and its paragraphs.
struct MemoLayout {
    int TopMargin = 0; // y of the first display line of every column
    int BlockWidth = 0; // width of one column: 2N "*" in the canvas font
    int ColumnGap = 0; // width of one "*"
    int ParagraphGap = 0; // pixels after each paragraph
    int LinesPerColumn = 0;
    int LineCount = 0; // display lines drawn in the current column
};

} // namespace render
