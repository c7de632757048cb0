#include "imaging/ScalePicture.h"

#include <cstdint>
#include <vector>

namespace {

// Where one output pixel lies along one axis. Lengths are counted in units in which a source
// pixel is as long as the output and an output pixel as long as the source, so every share
// of a source pixel is a whole number and the sums below are exact.
struct Cover
{
    int first;           // the first source pixel it touches
    int last;            // the last one
    uint32_t firstShare; // how much of the first lies inside; all of it when first == last
    uint32_t lastShare;  // how much of the last; pixels between lie wholly inside
};

std::vector<Cover> covers(int sourceLength, int outLength)
{
    std::vector<Cover> result(outLength);
    for (int index = 0; index < outLength; ++index) {
        const uint64_t start = uint64_t(index) * sourceLength;
        const uint64_t end = start + sourceLength;
        Cover& cover = result[index];
        cover.first = int(start / outLength);
        cover.last = int((end - 1) / outLength);
        if (cover.first == cover.last) {
            cover.firstShare = uint32_t(sourceLength);
            cover.lastShare = 0;
        } else {
            cover.firstShare = uint32_t((uint64_t(cover.first) + 1) * outLength - start);
            cover.lastShare = uint32_t(end - uint64_t(cover.last) * outLength);
        }
    }
    return result;
}

uint32_t channel(int pixel, int shift)
{
    return uint32_t(pixel >> shift) & 0xFF;
}

constexpr int shifts[3] = {16, 8, 0}; // red, green, blue in GD's true-colour pixel

class AreaScaler
{
public:
    AreaScaler(gdImagePtr source, QSize size)
        : m_source(source), m_size(size), m_columns(covers(source->sx, size.width())),
          m_rows(covers(source->sy, size.height())), m_prefix(3 * (size_t(source->sx) + 1)),
          m_reduced(3 * size_t(size.width())), m_sums(3 * size_t(size.width())),
          m_scale(1.0 / (double(source->sx) * source->sy))
    {
    }

    void scaleInto(gdImagePtr out);

private:
    void reduceRow(int y);
    void writeRow(int* out) const;

    const gdImagePtr m_source;
    const QSize m_size;
    const std::vector<Cover> m_columns;
    const std::vector<Cover> m_rows;
    std::vector<uint32_t> m_prefix;  // running sums of one source row, per channel
    std::vector<uint32_t> m_reduced; // one source row reduced to the output's width
    std::vector<uint64_t> m_sums;    // one output row before the division
    int m_reducedRow = -1;
    const double m_scale;
};

void AreaScaler::scaleInto(gdImagePtr out)
{
    const uint32_t wholeRow = uint32_t(m_size.height());
    for (int y = 0; y < m_size.height(); ++y) {
        const Cover& cover = m_rows[y];
        std::fill(m_sums.begin(), m_sums.end(), 0);
        for (int row = cover.first; row <= cover.last; ++row) {
            // A source row on the border of two output rows serves both; it is reduced once.
            if (row != m_reducedRow)
                reduceRow(row);
            const uint64_t share = row == cover.first  ? cover.firstShare
                                   : row == cover.last ? cover.lastShare
                                                       : wholeRow;
            for (size_t index = 0; index < m_sums.size(); ++index)
                m_sums[index] += share * m_reduced[index];
        }
        writeRow(out->tpixels[y]);
    }
}

// Every output column's share of source row y: its whole pixels through the running sums,
// its two border pixels by their shares. At most 255 times the source width, so it fits.
void AreaScaler::reduceRow(int y)
{
    const int* row = m_source->tpixels[y];
    uint32_t red = 0, green = 0, blue = 0;
    m_prefix[0] = m_prefix[1] = m_prefix[2] = 0;
    for (int x = 0; x < m_source->sx; ++x) {
        const int pixel = row[x];
        red += channel(pixel, 16);
        green += channel(pixel, 8);
        blue += channel(pixel, 0);
        uint32_t* sums = &m_prefix[3 * (size_t(x) + 1)];
        sums[0] = red;
        sums[1] = green;
        sums[2] = blue;
    }
    const uint32_t wholePixel = uint32_t(m_size.width());
    for (int x = 0; x < m_size.width(); ++x) {
        const Cover& cover = m_columns[x];
        uint32_t* reduced = &m_reduced[3 * size_t(x)];
        const int first = row[cover.first];
        if (cover.first == cover.last) {
            for (int c = 0; c < 3; ++c)
                reduced[c] = cover.firstShare * channel(first, shifts[c]);
            continue;
        }
        const int last = row[cover.last];
        const uint32_t* before = &m_prefix[3 * (size_t(cover.first) + 1)];
        const uint32_t* after = &m_prefix[3 * size_t(cover.last)];
        for (int c = 0; c < 3; ++c)
            reduced[c] = cover.firstShare * channel(first, shifts[c]) +
                         cover.lastShare * channel(last, shifts[c]) +
                         wholePixel * (after[c] - before[c]);
    }
    m_reducedRow = y;
}

void AreaScaler::writeRow(int* out) const
{
    for (int x = 0; x < m_size.width(); ++x) {
        const uint64_t* sums = &m_sums[3 * size_t(x)];
        const auto mean = [this](uint64_t sum) { return int(double(sum) * m_scale + 0.5); };
        out[x] = gdTrueColor(mean(sums[0]), mean(sums[1]), mean(sums[2]));
    }
}

} // namespace

GdImage ScalePicture(gdImagePtr source, QSize size)
{
    if (size.isEmpty())
        return nullptr;
    GdImage out(gdImageCreateTrueColor(size.width(), size.height()));
    if (out)
        AreaScaler(source, size).scaleInto(out.get());
    return out;
}
