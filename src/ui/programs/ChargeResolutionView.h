#pragma once

#include "program/ChargeProfile.h"

#include <QStringList>
#include <QWidget>

class QLabel;

// What the identified supply's steps make of a charge: the values it will
// hold, the smallest end it can tell apart against the one chosen, whether a
// low cell is pre-charged, the backstops; or why no program can be made.
class ChargeResolutionView : public QWidget {
    Q_OBJECT

public:
    explicit ChargeResolutionView(QWidget* parent = nullptr);

    void showMade(const ChargeParameters& parameters, const ChargeProfile::Made& made, const ModelProfile& model);
    // No supply identified: its steps are not known.
    void showUnknown();

private:
    static QStringList heldLines(
        const ChargeParameters& parameters, const ChargeProfile::Resolution& held, const ModelProfile& model);
    static QString endLine(const ChargeParameters& parameters, const ChargeProfile::Resolution& held);
    static QString prechargeLine(
        const ChargeParameters& parameters, const ChargeProfile::Resolution& held, const ModelProfile& model);

    QLabel* details_;
    QLabel* refusal_;
};
