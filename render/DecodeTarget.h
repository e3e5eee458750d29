#pragma once

namespace render {

// How large a picture will be drawn, so that a decoder that can shrink
// while decoding need not produce more pixels than will show.
struct DecodeTarget {
    enum class Fit {
        Full, // drawn at its own size: no reduction
        Each, // at least width x height, each direction on its own (stretched)
        Cover, // scaled to cover width x height keeping proportions
        Inside, // scaled to fit inside width x height keeping proportions
    };
    Fit fit = Fit::Full;
    int width = 0;
    int height = 0;

    struct Size {
        int width = 0;
        int height = 0;
    };
    // The size a w x h picture is drawn at; 0 x 0 for Full.
    Size For(int w, int h) const;
};

} // namespace render
