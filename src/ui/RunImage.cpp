#include "ui/RunImage.h"

#include <algorithm>

RunImage::RunImage(QSize size) : size_(size) {}

void RunImage::append(const QImage &band)
{
    if (band.depth() != 32 || band.width() != size_.width())
        return;
    format_ = band.format();
    const int w = band.width();
    scratch_.clear();
    std::vector<Row> rows;
    for (int y = 0; y < band.height() && filled() + int(rows.size()) < size_.height(); ++y) {
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
        rows.push_back({uint32_t(bands_.size()), first, uint32_t(scratch_.size())});
    }
    bands_.emplace_back(scratch_.begin(), scratch_.end());
    rows_.insert(rows_.end(), rows.begin(), rows.end());
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
