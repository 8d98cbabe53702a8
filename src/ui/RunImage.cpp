#include "ui/RunImage.h"

#include <algorithm>

RunImage::RunImage(QSize size) : size_(size) {}

void RunImage::encode(const QImage &band, int height, uint32_t bandIndex, std::vector<Row> &rows)
{
    const int w = band.width();
    scratch_.clear();
    rows.clear();
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const uint32_t *>(band.constScanLine(y));
        const auto first = uint32_t(scratch_.size());
        int x = 0;
        while (x < w) {
            const uint32_t pixel = row[x];
            int end = x + 1;
            while (end < w && row[end] == pixel)
                ++end;
            scratch_.push_back({uint32_t(end), pixel});
            x = end;
        }
        rows.push_back({bandIndex, first, uint32_t(scratch_.size())});
    }
}

void RunImage::append(const QImage &band)
{
    if (band.depth() != 32 || band.width() != size_.width())
        return;
    format_ = band.format();
    std::vector<Row> rows;
    encode(band, std::min(band.height(), size_.height() - filled()), uint32_t(bands_.size()), rows);
    bands_.emplace_back(scratch_.begin(), scratch_.end());
    rows_.insert(rows_.end(), rows.begin(), rows.end());
}

bool RunImage::replace(int top, const QImage &band)
{
    if (band.depth() != 32 || band.width() != size_.width() || top < 0 || top >= filled())
        return false;
    const int height = std::min(band.height(), size_.height() - top);
    const uint32_t index = rows_[std::size_t(top)].band;
    // The rows of that band, and no others: it began at `top` and ends where
    // `band` does.
    const bool starts = top == 0 || rows_[std::size_t(top) - 1].band != index;
    const bool ends = top + height == filled() || rows_[std::size_t(top + height)].band != index;
    if (!starts || !ends || height <= 0 || rows_[std::size_t(top + height - 1)].band != index)
        return false;
    std::vector<Row> rows;
    encode(band, height, index, rows);
    bands_[index].assign(scratch_.begin(), scratch_.end());
    bands_[index].shrink_to_fit();
    std::copy(rows.begin(), rows.end(), rows_.begin() + top);
    scratch_ = {};
    return true;
}

void RunImage::squeeze()
{
    scratch_ = {};
    bands_.shrink_to_fit();
    rows_.shrink_to_fit();
}

QImage RunImage::read(const QRect &r) const
{
    QImage out(r.intersected(QRect(QPoint(), size_)).size(), format_);
    if (!out.isNull())
        read(r, reinterpret_cast<uint32_t *>(out.bits()), out.bytesPerLine() / 4);
    return out;
}

QSize RunImage::read(const QRect &r, uint32_t *into, qsizetype stride) const
{
    const QRect inside = r.intersected(QRect(QPoint(), size_));
    if (inside.isEmpty())
        return {};
    const uint32_t x0 = uint32_t(inside.left()), x1 = uint32_t(inside.right() + 1);
    for (int y = 0; y < inside.height(); ++y) {
        uint32_t *dst = into + y * stride;
        const int row = inside.top() + y;
        if (row >= filled()) {
            std::fill(dst, dst + inside.width(), 0u);
            continue;
        }
        const Row &at = rows_[std::size_t(row)];
        const Run *first = bands_[at.band].data() + at.first, *last = bands_[at.band].data() + at.last;
        // The run holding x0: the first whose end lies past it.
        const Run *run = std::upper_bound(first, last, x0, [](uint32_t x, const Run &r) { return x < r.end; });
        for (uint32_t x = x0; x < x1 && run != last; ++run) {
            const uint32_t stop = std::min(run->end, x1);
            std::fill(dst + (x - x0), dst + (stop - x0), run->pixel);
            x = stop;
        }
    }
    return inside.size();
}

std::size_t RunImage::bytes() const
{
    std::size_t n = rows_.capacity() * sizeof(Row) + bands_.capacity() * sizeof(std::vector<Run>);
    for (const std::vector<Run> &b : bands_)
        n += b.capacity() * sizeof(Run);
    return n + scratch_.capacity() * sizeof(Run);
}
