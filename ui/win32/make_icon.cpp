// Writes the program's Windows icon (an .ico file) in 16, 32 and 48 pixels, from the picture of
// form/form1_icon.h; the larger sizes repeat each pixel. Built for and run on the build machine.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

#include "form/form1_icon.h"

namespace {

using ristemo::form::icon_pixel;
using ristemo::form::IconColour;
using ristemo::form::kIconSize;

void put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, unsigned value) {
    put16(out, value & 0xffff);
    put16(out, value >> 16);
}

// One icon image: a 32-bit bottom-up bitmap with its alpha, then the 1-bit mask (set where
// transparent), rows padded to 4 bytes.
std::vector<std::uint8_t> image(int scale) {
    const int size = kIconSize * scale;
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, unsigned(size));
    put32(out, unsigned(size * 2));  // colour and mask
    put16(out, 1);
    put16(out, 32);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const IconColour c = icon_pixel(x / scale, y / scale);
            out.insert(out.end(), {std::uint8_t(c.blue), std::uint8_t(c.green), std::uint8_t(c.red),
                                   std::uint8_t(c.alpha)});
        }
    }
    const int mask_row = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(std::size_t(mask_row), 0);
        for (int x = 0; x < size; ++x)
            if (icon_pixel(x / scale, y / scale).alpha == 0)
                row[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icon OUTPUT.ico\n";
        return 2;
    }
    const int scales[] = {1, 2, 3};
    std::vector<std::vector<std::uint8_t>> images;
    for (int scale : scales) images.push_back(image(scale));

    std::vector<std::uint8_t> file;
    put16(file, 0);
    put16(file, 1);  // icon
    put16(file, unsigned(images.size()));
    unsigned offset = unsigned(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = kIconSize * scales[i];
        file.push_back(std::uint8_t(size));
        file.push_back(std::uint8_t(size));
        file.push_back(0);  // no palette
        file.push_back(0);
        put16(file, 1);
        put16(file, 32);
        put32(file, unsigned(images[i].size()));
        put32(file, offset);
        offset += unsigned(images[i].size());
    }
    for (const auto& data : images) file.insert(file.end(), data.begin(), data.end());

    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return out ? 0 : 1;
}
