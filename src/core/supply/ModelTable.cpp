#include "supply/ModelTable.h"

#include <QtGlobal>

#include <array>

namespace {

const char* const kLaboratory = QT_TRANSLATE_NOOP("ModelTable", "Лабораторный");

const std::array<ModelProfile, 6> kModels{{
    {1, kLaboratory, "Quarel", 15.7, 63.0, 0.8, 0.6},
    {2, kLaboratory, "Brisna", 31.5, 31.5, 0.7, 0.4},
    {3, kLaboratory, "Tolvik", 63.0, 15.7, 0.5, 0.3},
    {4, kLaboratory, "Mespor", 47.2, 21.0, 0.6, 0.4},
    {5, kLaboratory, "Dunvael", 15.7, 105.0, 0.8, 0.8},
    {6, kLaboratory, "Halcet", 31.5, 52.5, 0.7, 0.6},
}};

const ModelProfile kFallback{0, QT_TRANSLATE_NOOP("ModelTable", "Неизвестный"), "-", 10.0, 10.0, 1.0, 1.0};

} // namespace

bool ModelTable::isFallback(int code)
{
    return code == 0 || (code >= 7 && code <= kHighestCode);
}

std::optional<ModelProfile> ModelTable::find(int code)
{
    if (code < kLowestCode || code > kHighestCode) {
        return std::nullopt;
    }
    if (isFallback(code)) {
        ModelProfile row = kFallback;
        row.code = code;
        return row;
    }
    return kModels.at(static_cast<std::size_t>(code - 1));
}
