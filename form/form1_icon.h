#pragma once

// The window's icon, drawn once for every use of it: the Qt window, the Windows .ico file and the
// desktop's icons. Standard C++ alone, so that a tool built for the build machine can include it.
namespace ristemo::form {

struct IconColour {
    int red, green, blue, alpha;
};

inline constexpr int kIconSize = 16;

// A calculator in grey, silver, white and black: a display at the top, four rows of three keys,
// transparent at the sides. A row a string, a pixel a character: see icon_colour.
// clang-format off
inline constexpr const char* kIcon[kIconSize] = {
    "  kkkkkkkkkkkk  ",
    "  kggggggggggk  ",
    "  kgssssssssgk  ",  // the display
    "  kgswwwwwwsgk  ",
    "  kgssssssssgk  ",
    "  kggggggggggk  ",
    "  kgwwgwwgwwgk  ",  // the keys, each with its shadow
    "  kgkkgkkgkkgk  ",
    "  kgwwgwwgwwgk  ",
    "  kgkkgkkgkkgk  ",
    "  kgwwgwwgwwgk  ",
    "  kgkkgkkgkkgk  ",
    "  kgwwgwwgssgk  ",
    "  kgkkgkkgkkgk  ",
    "  kggggggggggk  ",
    "  kkkkkkkkkkkk  ",
};
// clang-format on

inline constexpr IconColour icon_colour(char pixel) {
    switch (pixel) {
        case 'k':
            return {0, 0, 0, 255};
        case 'g':
            return {128, 128, 128, 255};
        case 's':
            return {192, 192, 192, 255};
        case 'w':
            return {255, 255, 255, 255};
        default:
            return {0, 0, 0, 0};
    }
}

// The colour of the pixel in column x of row y.
inline constexpr IconColour icon_pixel(int x, int y) {
    return icon_colour(kIcon[y][x]);
}

}  // namespace ristemo::form
