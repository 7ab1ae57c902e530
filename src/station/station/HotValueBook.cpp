#include "station/HotValueBook.h"

#include "supply/Conversions.h"

namespace {

QString rowText(const std::pair<double, double>& pair)
{
    return QString::fromStdString(Conversions::hotValueRow(pair.first, pair.second));
}

} // namespace

void HotValueBook::load(const std::vector<ControllerSettings::HotPair>& pairs)
{
    table_.clear();
    QStringList rows;
    for (const ControllerSettings::HotPair& pair : pairs) {
        table_.append(pair.voltage.tenths(), pair.current.tenths());
        rows.push_back(rowText(*table_.valueAt(static_cast<int>(rows.size()))));
    }
    emit replaced(rows);
}

void HotValueBook::add(double volts, double amperes)
{
    if (const auto existing = table_.addOrFind(volts, amperes)) {
        emit selected(*existing);
    } else {
        emit added(rowText(*table_.valueAt(static_cast<int>(table_.voltages().size()) - 1)));
    }
}

void HotValueBook::remove(int row)
{
    if (table_.remove(row)) {
        emit removed(row);
    }
}
