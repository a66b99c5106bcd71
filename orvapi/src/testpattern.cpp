// SPDX-FileCopyrightText: 2026 The Orvik Trigger IO developers
// SPDX-License-Identifier: MIT
#include "testpattern.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

using namespace TKN::OrvAPI;

namespace OrvSim {

namespace {

struct Rgb
{
    int r, g, b;
};

// 5 x 7 glyphs, one byte per row, bit 4 the leftmost column.
struct Glyph
{
    char c;
    std::array<std::uint8_t, 7> rows;
};

const Glyph Glyphs[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'#', {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}}, {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}}, {'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
    {'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
};

const Rgb Bars[] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                    {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {16, 16, 16}};

const std::array<std::uint8_t, 7> *glyph(char c)
{
    for (const Glyph &g : Glyphs) {
        if (g.c == c)
            return &g.rows;
    }
    return nullptr;
}

// Where each colour of a 2 x 2 Bayer tile sits: 0 red, 1 green, 2 blue.
bool bayerTile(const std::string &format, int tile[2][2])
{
    static const struct
    {
        const char *name;
        int tile[2][2];
    } tiles[] = {{"BayerRG", {{0, 1}, {1, 2}}},
                 {"BayerGR", {{1, 0}, {2, 1}}},
                 {"BayerGB", {{1, 2}, {0, 1}}},
                 {"BayerBG", {{2, 1}, {1, 0}}}};
    for (const auto &candidate : tiles) {
        if (format.compare(0, 7, candidate.name) == 0) {
            std::memcpy(tile, candidate.tile, sizeof(candidate.tile));
            return true;
        }
    }
    return false;
}

/// How one pixel format stores a pixel.
struct Layout
{
    int channels = 1;  // 1 mono or Bayer, 3 RGB/BGR
    int bits = 8;      // significant bits
    bool wide = false; // 16-bit little-endian containers
    bool bgr = false;
    bool bayer = false;
    int tile[2][2] = {{0, 0}, {0, 0}};
    bool packed = false; // GigE Vision Mono10Packed, Mono12Packed
};

bool layoutOf(const std::string &format, Layout &layout)
{
    static const struct
    {
        const char *suffix;
        int bits;
    } depths[] = {{"8", 8}, {"10", 10}, {"12", 12}, {"14", 14}, {"16", 16}};
    std::string depth;
    // GigE Vision's packed formats: drawn as 16-bit samples, packed at the end.
    if (format == "Mono10Packed" || format == "Mono12Packed") {
        layout.bits = format == "Mono10Packed" ? 10 : 12;
        layout.wide = true;
        layout.packed = true;
        return true;
    }
    if (format.compare(0, 4, "Mono") == 0) {
        depth = format.substr(4);
    } else if (format == "RGB8" || format == "BGR8") {
        layout.channels = 3;
        layout.bgr = format == "BGR8";
        return true;
    } else if (bayerTile(format, layout.tile)) {
        layout.bayer = true;
        depth = format.substr(7);
    } else {
        return false;
    }
    for (const auto &candidate : depths) {
        if (depth == candidate.suffix) {
            layout.bits = candidate.bits;
            layout.wide = candidate.bits > 8;
            return true;
        }
    }
    return false; // other layouts
}

// Two pixels in three bytes: the high eight bits of each in a byte of its
// own, the low bits of the first in the middle byte's low nibble and of the
// second in its high nibble.
void packPairs(std::vector<unsigned char> &data, int bits)
{
    const std::size_t pixels = data.size() / 2;
    const int low = bits - 8;
    std::vector<unsigned char> packed((pixels + 1) / 2 * 3, 0);
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned value = data[i * 2] | unsigned(data[i * 2 + 1]) << 8;
        unsigned char *triple = &packed[i / 2 * 3];
        triple[i % 2 == 0 ? 0 : 2] = static_cast<unsigned char>(value >> low);
        triple[1] |= static_cast<unsigned char>((value & ((1u << low) - 1)) << (i % 2 == 0 ? 0 : 4));
    }
    data.swap(packed);
}

// The colour of the pattern at x in a row of the given band.
Rgb patternAt(int x, int width, bool rampBand, unsigned long long frame)
{
    const int stripe = static_cast<int>((frame * 16) % static_cast<unsigned long long>(width > 0 ? width : 1));
    if (x >= stripe && x < stripe + 8)
        return Rgb{255, 255, 255};
    if (rampBand) {
        const int shifted = static_cast<int>((x + frame * 8) % static_cast<unsigned long long>(width));
        const int v = shifted * 255 / (width > 1 ? width - 1 : 1);
        return Rgb{v, v, v};
    }
    return Bars[x * 8 / width];
}

void putPixel(std::vector<unsigned char> &data, const Layout &layout, int width, int x, int y, const Rgb &rgb)
{
    int value;
    if (layout.channels == 3) {
        unsigned char *p = &data[(static_cast<std::size_t>(y) * width + x) * 3];
        p[0] = static_cast<unsigned char>(layout.bgr ? rgb.b : rgb.r);
        p[1] = static_cast<unsigned char>(rgb.g);
        p[2] = static_cast<unsigned char>(layout.bgr ? rgb.r : rgb.b);
        return;
    }
    if (layout.bayer) {
        const int colour = layout.tile[y % 2][x % 2];
        value = colour == 0 ? rgb.r : colour == 1 ? rgb.g : rgb.b;
    } else {
        value = (rgb.r * 299 + rgb.g * 587 + rgb.b * 114) / 1000;
    }
    if (!layout.wide) {
        data[static_cast<std::size_t>(y) * width + x] = static_cast<unsigned char>(value);
        return;
    }
    const int scaled = value * ((1 << layout.bits) - 1) / 255;
    unsigned char *p = &data[(static_cast<std::size_t>(y) * width + x) * 2];
    p[0] = static_cast<unsigned char>(scaled & 0xFF);
    p[1] = static_cast<unsigned char>(scaled >> 8);
}

std::string stampText(const FrameImage &image)
{
    const unsigned long long micros = image.timestamp / 1000;
    std::string fraction = std::to_string(micros % 1000000);
    fraction.insert(0, 6 - fraction.size(), '0');
    return "#" + std::to_string(image.frame) + " t=" + std::to_string(micros / 1000000) + "." + fraction + "s";
}

} // namespace

bool TestPattern::render(FrameImage &image)
{
    image.data.clear();
    Layout layout;
    if (image.width <= 0 || image.height <= 0 || !layoutOf(image.pixelFormat, layout))
        return false;
    const int width = image.width, height = image.height;
    const std::size_t bytesPerPixel = static_cast<std::size_t>(layout.channels) * (layout.wide ? 2 : 1);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel;
    image.data.assign(rowBytes * static_cast<std::size_t>(height), 0);

    // Every row of a band is the same (two rows for a Bayer tile): draw one
    // or two and copy them down the band.
    const int rampFrom = height * 2 / 3;
    for (int band = 0; band < 2; ++band) {
        const int top = band == 0 ? 0 : rampFrom;
        const int bottom = band == 0 ? rampFrom : height;
        const int drawn = std::min(bottom - top, 2);
        for (int y = top; y < top + drawn; ++y) {
            for (int x = 0; x < width; ++x)
                putPixel(image.data, layout, width, x, y, patternAt(x, width, band == 1, image.frame));
        }
        for (int y = top + drawn; y < bottom; ++y)
            std::memcpy(&image.data[y * rowBytes], &image.data[(y - 2) * rowBytes], rowBytes);
    }

    // The stamp: white text on black, large enough to read on a scaled-down view.
    const std::string text = stampText(image);
    const int scale = std::max(2, width / 160);
    const int margin = scale * 2;
    const int boxWidth = std::min(width, margin * 2 + static_cast<int>(text.size()) * 6 * scale);
    const int boxHeight = std::min(height, margin * 2 + 7 * scale);
    for (int y = 0; y < boxHeight; ++y) {
        for (int x = 0; x < boxWidth; ++x) {
            const int column = (x - margin) / scale, row = (y - margin) / scale;
            bool lit = false;
            if (x >= margin && y >= margin && row < 7 && column / 6 < static_cast<int>(text.size()) && column % 6 < 5) {
                const auto *rows = glyph(text[column / 6]);
                lit = rows && (((*rows)[row] >> (4 - column % 6)) & 1);
            }
            const int v = lit ? 255 : 0;
            putPixel(image.data, layout, width, x, y, Rgb{v, v, v});
        }
    }
    if (layout.packed)
        packPairs(image.data, layout.bits);
    return true;
}

} // namespace OrvSim
