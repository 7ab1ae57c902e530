#pragma once

#include "panels/OneDecimalRule.h"
#include "supply/Quantity.h"

#include <QObject>
#include <QString>

#include <optional>

class CharacterMessages;
class ClassicEdit;
class QPushButton;
class QWidget;
class SupplyController;
class TimerRun;
class UpDownControl;
class WindowExchange;
struct ModelProfile;

// The setpoint edits with their arrows and the two output buttons. It follows
// the supply and sends what is typed through the controller; the character
// last typed into the window decides how an edit's rule reads a change.
class SetpointPanel final : public QObject {
    Q_OBJECT

public:
    explicit SetpointPanel(QWidget* window);

    void bind(SupplyController& supply, TimerRun& run, WindowExchange& exchange);

    // Runs both edits' rules on what the exchange has just written into them,
    // as typing would, so that their values go to the supply.
    void enterWrittenValues();

    int lastChar() const { return lastChar_; }
    ClassicEdit* voltageEdit() const { return voltageEdit_; }
    ClassicEdit* currentEdit() const { return currentEdit_; }
    QPushButton* onButton() const { return onButton_; }
    QPushButton* offButton() const { return offButton_; }

private:
    // Counts the edit handlers running, one inside the other when a handler
    // rewrites its edit: a field without a number is pointed out once, by the
    // outermost.
    class EditHandling {
    public:
        explicit EditHandling(int& depth)
            : depth_(depth)
        {
            ++depth_;
        }
        ~EditHandling() { --depth_; }
        EditHandling(const EditHandling&) = delete;
        EditHandling& operator=(const EditHandling&) = delete;

    private:
        int& depth_;
    };

    void connectControls();
    void connectSupply(TimerRun& run);
    void onEditChanged(Quantity quantity);
    void hide();
    void showLive();
    void applyLimits(const ModelProfile& profile);
    void showOutput(bool on);
    void followOutput();
    // Writes a setpoint into its edit, which runs the edit's rule as typing would.
    void showSetpoint(Quantity quantity, double value);
    // The same without running the rule: a value set elsewhere.
    void showSetpointQuietly(Quantity quantity, double value);
    ClassicEdit* edit(Quantity quantity) const;
    void disableOutputButtons();
    void enableEdits();
    OneDecimalRule::Bounds bounds(Quantity quantity) const;

    ClassicEdit* voltageEdit_;
    UpDownControl* voltageSpin_;
    ClassicEdit* currentEdit_;
    UpDownControl* currentSpin_;
    QPushButton* onButton_;
    QPushButton* offButton_;
    CharacterMessages* characters_;
    SupplyController* supply_ = nullptr;
    WindowExchange* exchange_ = nullptr;
    int lastChar_ = 0;
    int editDepth_ = 0;
    // Hidden while the supply answered with its status alone.
    bool hiddenBySwitch_ = false;
};
