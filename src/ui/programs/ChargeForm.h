#pragma once

#include "program/ChargeParameters.h"
#include "program/ChemistryPractice.h"
#include "supply/ModelProfile.h"

#include <QWidget>

#include <initializer_list>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QSpinBox;
class UnitEdit;

// What the user says of a battery to charge: the chemistry, its pack and the
// chemistry's own adjustable values; the rows of other chemistries are hidden.
// The charge current is typed in amperes or as a rate of the capacity. A
// chemistry starts from its usual values as the identified supply can hold them.
class ChargeForm : public QWidget {
    Q_OBJECT

public:
    explicit ChargeForm(QWidget* parent = nullptr);

    ChargeParameters parameters() const;
    void setParameters(const ChargeParameters& parameters);
    // The values shown are suited to it until the user changes one.
    void setModel(const ModelProfile& model);

signals:
    void changed();

private:
    QWidget* row(std::initializer_list<QWidget*> widgets);
    void addBatteryRows(QFormLayout& form);
    void addEndRows(QFormLayout& form);
    void addLeadRows(QFormLayout& form);
    void addNickelRows(QFormLayout& form);
    void connectFields();
    void chooseChemistry();
    void showDefaults();
    void switchRate();
    void showFamily(ChemistryPractice::Family family);
    void showOthers();
    void edited();
    Chemistry chemistry() const;
    bool byRate() const;
    double amperes() const;

    QFormLayout* form_;
    QComboBox* chemistry_;
    QSpinBox* cells_;
    UnitEdit* capacity_;
    UnitEdit* current_;
    QComboBox* rate_;
    QLabel* otherCurrent_;
    QDoubleSpinBox* voltsPerCell_;
    QLabel* voltsRange_;
    QSpinBox* taper_;
    QLabel* taperAmperes_;
    QSpinBox* absorption_;
    QCheckBox* floats_;
    QDoubleSpinBox* floatVolts_;
    QSpinBox* floatTime_;
    QSpinBox* delta_;
    QSpinBox* holdOff_;
    QCheckBox* flat_;
    QSpinBox* plateau_;
    QWidget* taperRow_ = nullptr;
    QWidget* leadRows_[2] = {};
    QWidget* nickelRows_[3] = {};
    ModelProfile model_;
    bool loading_ = false;
    bool defaults_ = false;
};
