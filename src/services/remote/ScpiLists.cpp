#include "remote/ScpiLists.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace {

double at(const std::vector<double>& list, std::size_t point)
{
    return list.size() == 1 ? list.front() : list.at(point);
}

} // namespace

std::size_t ScpiLists::points() const
{
    return std::max({volts.size(), amperes.size(), dwellSeconds.size()});
}

std::variant<Program, ScpiError> ScpiLists::program() const
{
    const std::size_t length = points();
    for (const auto* list : {&volts, &amperes, &dwellSeconds}) {
        if (list->empty()) {
            return ScpiError::settingsConflict("a list is empty");
        }
        if (list->size() != 1 && list->size() != length) {
            return ScpiError::settingsConflict("list lengths differ");
        }
    }
    Program program;
    program.body.count = count;
    for (std::size_t point = 0; point < length; ++point) {
        ProgramStep step;
        step.volts = at(volts, point);
        step.amperes = at(amperes, point);
        // The engine leaves the output as the last step asked, so only the
        // first point switches it on and the end switches it off.
        if (point == 0) {
            step.output = true;
        }
        step.duration = std::chrono::milliseconds(std::llround(at(dwellSeconds, point) * 1000.0));
        step.maxDuration = *step.duration;
        program.body.items.emplace_back().content = std::move(step);
    }
    return program;
}
