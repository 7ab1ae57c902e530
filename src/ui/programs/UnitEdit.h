#pragma once

#include "supply/ModelProfile.h"
#include "supply/Quantity.h"

#include <QLineEdit>
#include <QString>

#include <chrono>
#include <optional>

// A value typed with its unit shown after it; left empty, it is none (a
// value the step keeps). Values are kept within the range: not negative,
// and within the model's once one is known.
class UnitEdit : public QLineEdit {
    Q_OBJECT

public:
    enum class Kind {
        Number,
        Duration, // seconds, m:ss or h:mm:ss
        TimeOfDay, // hh:mm
    };

    UnitEdit(Kind kind, QString unit, QWidget* parent = nullptr);

    void setKind(Kind kind, const QString& unit);
    void setRange(double minimum, std::optional<double> maximum);
    // The model's setpoint range of the quantity, once it is identified.
    void setRange(const ModelProfile& profile, Quantity quantity);
    void setValue(std::optional<double> value);
    // Within the range; none when empty or not readable.
    std::optional<double> value() const;
    // A duration in whole milliseconds; none when empty.
    void setDuration(std::optional<std::chrono::milliseconds> duration);
    std::optional<std::chrono::milliseconds> duration() const;
    // Empty, or a value of its kind.
    bool readable() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<double> parsed() const;
    QString shownUnit() const;
    void updateHints();

    Kind kind_;
    QString unit_;
    double minimum_ = 0.0;
    std::optional<double> maximum_;
};
