#include "chart/EventMarks.h"

#include <qcustomplot.h>

namespace {

// How close two marks may come, in pixels, before the later one is left out.
constexpr double kMarkSpacing = 3.0;

} // namespace

EventMarks::EventMarks(QCustomPlot* plot)
    : plot_(plot)
{
}

// Light, solid and one pixel wide: a dashed or wide line across the plot
// costs more to draw than all three curves.
QColor EventMarks::color(ReadingHistory::EventKind kind)
{
    switch (kind) {
    case ReadingHistory::EventKind::SetpointChange:
        return {0xc0, 0xa0, 0xe0};
    case ReadingHistory::EventKind::OutputOn:
        return {0x90, 0xd0, 0xa0};
    case ReadingHistory::EventKind::OutputOff:
        return {0xb0, 0xb0, 0xb0};
    case ReadingHistory::EventKind::ProgramStep:
        return {0x80, 0xb0, 0xe8};
    case ReadingHistory::EventKind::Trip:
        return {0xe0, 0x40, 0x40};
    case ReadingHistory::EventKind::LinkLost:
        break;
    }
    return {0xf0, 0xb8, 0x80};
}

void EventMarks::place(const std::vector<ReadingHistory::Event>& events, double origin)
{
    std::size_t used = 0;
    double lastPixel = -kMarkSpacing;
    for (const ReadingHistory::Event& event : events) {
        const double pixel = plot_->xAxis->coordToPixel(origin + event.seconds);
        if (pixel - lastPixel < kMarkSpacing) {
            continue;
        }
        lastPixel = pixel;
        QCPItemStraightLine* mark = line(used++);
        mark->point1->setCoords(origin + event.seconds, 0.0);
        mark->point2->setCoords(origin + event.seconds, 1.0);
        mark->setPen(QPen(color(event.kind), 0.0));
        mark->setVisible(true);
    }
    for (std::size_t i = used; i < lines_.size(); ++i) {
        lines_[i]->setVisible(false);
    }
}

QCPItemStraightLine* EventMarks::line(std::size_t index)
{
    if (index == lines_.size()) {
        lines_.push_back(new QCPItemStraightLine(plot_));
        lines_.back()->setLayer(QStringLiteral("grid")); // beneath the curves
    }
    return lines_[index];
}
