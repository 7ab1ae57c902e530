#include "controller/HotValueBook.h"

#include "supply/Conversions.h"

namespace {

QString rowText(double volts, double amperes)
{
    return QString::fromStdString(Conversions::hotValueRow(volts, amperes));
}

} // namespace

void HotValueBook::load(const std::vector<ControllerSettings::HotPair>& pairs)
{
    table_.clear();
    QStringList rows;
    for (const ControllerSettings::HotPair& pair : pairs) {
        table_.append(pair.voltage.thousandths, pair.current.thousandths);
        rows.push_back(rowText(pair.voltage.value, pair.current.value));
    }
    emit replaced(rows);
}

void HotValueBook::add(double volts, double amperes, const ModelProfile& profile)
{
    if (const auto existing = table_.addOrFind(volts, amperes, profile)) {
        emit selected(*existing);
    } else {
        emit added(rowText(volts, amperes));
    }
}

void HotValueBook::remove(int row)
{
    if (table_.remove(row)) {
        emit removed(row);
    }
}
