// Writes the program's Windows icon (an .ico file) in 16, 32 and 48 pixels. Built for and run on
// the build machine. The picture is the 16 x 16 calculator of the Linux window
// (ui/calculator_icon.cpp), drawn here without Qt; the larger sizes repeat each pixel.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

using Picture = std::vector<std::vector<Rgba>>;  // [y][x]

Picture calculator() {
    const Rgba black{0, 0, 0, 255};
    const Rgba grey{128, 128, 128, 255};
    const Rgba silver{192, 192, 192, 255};
    const Rgba white{255, 255, 255, 255};
    Picture p(16, std::vector<Rgba>(16));
    const auto fill = [&p](int x, int y, int w, int h, Rgba c) {
        for (int row = y; row < y + h; ++row)
            for (int col = x; col < x + w; ++col) p[std::size_t(row)][std::size_t(col)] = c;
    };
    // Body: columns 2 to 13, black outline around a grey case.
    fill(2, 0, 12, 16, black);
    fill(3, 1, 10, 14, grey);
    // Display: silver frame, white face.
    fill(4, 2, 8, 3, silver);
    fill(5, 3, 6, 1, white);
    // Keys: four rows of three, white tops with a black shadow under them.
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int x = 4 + col * 3;
            const int y = 6 + row * 2;
            fill(x, y, 2, 1, row == 3 && col == 2 ? silver : white);
            fill(x, y + 1, 2, 1, black);
        }
    }
    return p;
}

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
std::vector<std::uint8_t> image(const Picture& picture, int scale) {
    const int size = 16 * scale;
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, unsigned(size));
    put32(out, unsigned(size * 2));  // colour and mask
    put16(out, 1);
    put16(out, 32);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const Rgba c = picture[std::size_t(y / scale)][std::size_t(x / scale)];
            out.insert(out.end(), {c.b, c.g, c.r, c.a});
        }
    }
    const int mask_row = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(std::size_t(mask_row), 0);
        for (int x = 0; x < size; ++x)
            if (picture[std::size_t(y / scale)][std::size_t(x / scale)].a == 0)
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
    const Picture picture = calculator();
    const int scales[] = {1, 2, 3};
    std::vector<std::vector<std::uint8_t>> images;
    for (int scale : scales) images.push_back(image(picture, scale));

    std::vector<std::uint8_t> file;
    put16(file, 0);
    put16(file, 1);  // icon
    put16(file, unsigned(images.size()));
    unsigned offset = unsigned(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = 16 * scales[i];
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
