#pragma once

#include "settings/ControllerSettings.h"
#include "supply/HotValueTable.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// The hot-values list the controller keeps: the pairs read from the
// settings, handed back to the file at each save, and the rows the list
// shows, each made from the pair it stands for.
class HotValueBook final : public QObject {
    Q_OBJECT

public:
    // Replaces the pairs with those of the file.
    void load(const std::vector<ControllerSettings::HotPair>& pairs);
    // A save that succeeded holds the pairs now: they are read again at the
    // next identification.
    void handedOver() { table_.clear(); }

    std::optional<std::pair<double, double>> valueAt(int row) const { return table_.valueAt(row); }
    void add(double volts, double amperes);
    void remove(int row);

    const HotValueTable& table() const { return table_; }
    const std::vector<std::int32_t>& voltages() const { return table_.voltages(); }
    const std::vector<std::int32_t>& currents() const { return table_.currents(); }

signals:
    void replaced(const QStringList& rows);
    void added(const QString& row);
    void removed(int row);
    // A pair asked to be added that a row already holds.
    void selected(int row);

private:
    HotValueTable table_;
};
