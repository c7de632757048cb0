#include "imaging/ScalePicture.h"

#include <bit>
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

// A GD true-colour pixel is an int; its four bytes (three colours and alpha, in the machine's
// order) are averaged alike, so nothing here depends on that order.
constexpr int lanes = 4;

// Where a lane, counted in memory order, sits in the int.
constexpr int laneShift(int lane)
{
    return 8 * (std::endian::native == std::endian::little ? lane : lanes - 1 - lane);
}

const uint8_t* bytesOf(const int* row)
{
    return reinterpret_cast<const uint8_t*>(row);
}

// Output rows first: the source rows an output row covers are summed lane by lane, which is
// plain additions over long rows, then that one row is reduced across.
class AreaScaler
{
public:
    AreaScaler(gdImagePtr source, QSize size)
        : m_source(source), m_size(size), m_columns(covers(source->sx, size.width())),
          m_rows(covers(source->sy, size.height())), m_column(lanes * size_t(source->sx)),
          m_scale(1.0 / (double(source->sx) * source->sy))
    {
    }

    void scaleInto(gdImagePtr out);

private:
    void sumRows(const Cover& cover);
    void writeRow(int* out) const;

    const gdImagePtr m_source;
    const QSize m_size;
    const std::vector<Cover> m_columns;
    const std::vector<Cover> m_rows;
    std::vector<uint32_t> m_column; // every source column's share of one output row
    const double m_scale;
};

void AreaScaler::scaleInto(gdImagePtr out)
{
    for (int y = 0; y < m_size.height(); ++y) {
        sumRows(m_rows[y]);
        writeRow(out->tpixels[y]);
    }
}

// The loops below work in blocks of a fixed length, which the compiler turns into vector
// instructions; the rest of a row is done one by one.
constexpr size_t block = 16;

void addRow(uint32_t* __restrict sums, const uint8_t* __restrict bytes, size_t length)
{
    size_t index = 0;
    for (; index + block <= length; index += block)
        for (size_t lane = 0; lane < block; ++lane)
            sums[index + lane] += bytes[index + lane];
    for (; index < length; ++index)
        sums[index] += bytes[index];
}

void addWeightedRow(uint32_t* __restrict sums, const uint8_t* __restrict bytes, uint32_t weight,
                    size_t length)
{
    size_t index = 0;
    for (; index + block <= length; index += block)
        for (size_t lane = 0; lane < block; ++lane)
            sums[index + lane] += weight * bytes[index + lane];
    for (; index < length; ++index)
        sums[index] += weight * bytes[index];
}

void scaleRow(uint32_t* __restrict sums, uint32_t weight, size_t length)
{
    size_t index = 0;
    for (; index + block <= length; index += block)
        for (size_t lane = 0; lane < block; ++lane)
            sums[index + lane] *= weight;
    for (; index < length; ++index)
        sums[index] *= weight;
}

// At most 255 times the source height per lane, so it fits.
void AreaScaler::sumRows(const Cover& cover)
{
    const size_t length = m_column.size();
    std::fill(m_column.begin(), m_column.end(), 0);
    // A picture reduced little has no rows wholly inside most covers.
    if (cover.last - cover.first > 1) {
        for (int row = cover.first + 1; row < cover.last; ++row)
            addRow(m_column.data(), bytesOf(m_source->tpixels[row]), length);
        // Rows wholly inside all weigh as much as the output is high.
        scaleRow(m_column.data(), uint32_t(m_size.height()), length);
    }
    addWeightedRow(m_column.data(), bytesOf(m_source->tpixels[cover.first]), cover.firstShare,
                   length);
    if (cover.last != cover.first)
        addWeightedRow(m_column.data(), bytesOf(m_source->tpixels[cover.last]), cover.lastShare,
                       length);
}

// The four lanes are written out one by one, so their sums stay in registers.
void AreaScaler::writeRow(int* out) const
{
    const uint64_t wholeColumn = uint64_t(m_size.width());
    const auto mean = [this](uint64_t sum, int lane) {
        return uint32_t(double(int64_t(sum)) * m_scale + 0.5) << laneShift(lane);
    };
    for (int x = 0; x < m_size.width(); ++x) {
        const Cover& cover = m_columns[x];
        const uint32_t* first = &m_column[lanes * size_t(cover.first)];
        uint64_t sum0 = uint64_t(cover.firstShare) * first[0];
        uint64_t sum1 = uint64_t(cover.firstShare) * first[1];
        uint64_t sum2 = uint64_t(cover.firstShare) * first[2];
        uint64_t sum3 = uint64_t(cover.firstShare) * first[3];
        if (cover.last != cover.first) {
            uint64_t middle0 = 0, middle1 = 0, middle2 = 0, middle3 = 0;
            for (int column = cover.first + 1; column < cover.last; ++column) {
                const uint32_t* values = &m_column[lanes * size_t(column)];
                middle0 += values[0];
                middle1 += values[1];
                middle2 += values[2];
                middle3 += values[3];
            }
            const uint32_t* last = &m_column[lanes * size_t(cover.last)];
            const uint64_t lastShare = cover.lastShare;
            sum0 += wholeColumn * middle0 + lastShare * last[0];
            sum1 += wholeColumn * middle1 + lastShare * last[1];
            sum2 += wholeColumn * middle2 + lastShare * last[2];
            sum3 += wholeColumn * middle3 + lastShare * last[3];
        }
        out[x] = int(mean(sum0, 0) | mean(sum1, 1) | mean(sum2, 2) | mean(sum3, 3));
    }
}

} // namespace

GdImage ScalePicture(gdImagePtr source, QSize size)
{
    if (size.isEmpty())
        return nullptr;
    GdImage out = newTrueColorImage(size.width(), size.height());
    if (out)
        AreaScaler(source, size).scaleInto(out.get());
    return out;
}
