#pragma once
// A picture kept as runs of equal pixels, row by row. The plane's still part
// (white ground, grid lines, axes, a figure of a few strokes) is a few dozen
// runs a row where a plain image holds thousands of pixels: on a doubled
// screen 7 MB as an image, well under one as runs. It is filled a band of
// rows at a time, so that no whole image of it is ever held, and read back
// a rectangle at a time, pixel for pixel as it was painted.
#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

class RunImage {
public:
    RunImage() = default;
    // An empty picture of `size` device pixels, to be filled band by band.
    explicit RunImage(QSize size);

    bool isNull() const { return size_.isEmpty(); }
    QSize size() const { return size_; }
    // Rows filled so far.
    int filled() const { return int(rows_.size()); }
    // Appends the rows of `band` (32-bit pixels, as wide as the picture)
    // below those filled; rows past the picture's height are left out.
    void append(const QImage &band);
    // Paints over the rows of one band appended earlier with those of
    // `band`, which must start at `top` and be as high as it was (the last
    // band may be cut off at the bottom as append cut it). False, and
    // nothing changed, when `band` is not such a band.
    bool replace(int top, const QImage &band);
    // Gives back what filling set aside for more rows.
    void squeeze();
    // The pixels of `r` (device pixels, inside the picture) as an image of
    // the band's format.
    QImage read(const QRect &r) const;
    // The same into memory the caller keeps (rows `stride` pixels apart),
    // so that reading at every paint takes no fresh pages: the part of `r`
    // inside the picture, whose size it returns.
    QSize read(const QRect &r, uint32_t *into, qsizetype stride) const;
    QImage::Format format() const { return format_; }
    // Bytes held, to see what it saves.
    std::size_t bytes() const;

private:
    struct Run {
        uint32_t end;   // one past the run's last pixel in its row
        uint32_t pixel; // its 32-bit pixel
    };
    struct Row {
        uint32_t band, first, last; // its runs: bands_[band][first, last)
    };
    // The runs of the first `height` rows of `band`, in scratch_; their
    // rows' starts and ends in `rows`.
    void encode(const QImage &band, int height, uint32_t bandIndex, std::vector<Row> &rows);
    QSize size_;
    QImage::Format format_ = QImage::Format_ARGB32_Premultiplied;
    // Each band's runs in a vector of its own, of just their number: one
    // vector for all would, as it grew, hold up to twice what it needs and
    // copy it all at every growth.
    std::vector<std::vector<Run>> bands_;
    std::vector<Row> rows_;
    std::vector<Run> scratch_; // the band being read
};
