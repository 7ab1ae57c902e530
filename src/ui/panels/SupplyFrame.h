#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;
class SupplyController;

// The supply's frame: link caption, name and model, read-outs, regulation
// lamps and the message shown while there is nothing to control. It follows
// the supply.
class SupplyFrame final : public QObject {
    Q_OBJECT

public:
    static const char* const kNoLinkCaption;
    static const char* const kConnectedCaption;
    static const char* const kNoFreePortText;
    static const char* const kNoConnectionText;
    static const char* const kPanelSwitchText;
    static const char* const kPortsRefusedText;

    explicit SupplyFrame(QWidget* window);

    void bind(SupplyController& supply);
    // In place of kNoFreePortText when every port was refused for lack of permission.
    void showPortsRefused();
    // The usual text, and beside it the devices named that do not exist.
    void showPortsMissing(const std::vector<std::string>& devices);
    QLineEdit* voltageReadout() const { return voltageReadout_; }
    QLineEdit* currentReadout() const { return currentReadout_; }

private:
    void showNoConnection();
    void showIdentified(const QString& supplyName, const QString& modelName);
    void showControlsLive();
    void showPanelSwitch();
    void hideReadings();
    void showOutput(bool on);
    void showRegulation(bool voltageRegulated);
    void createCaptions(QWidget* window);
    void createReadouts(QWidget* window);
    void createLamps(QWidget* window);
    void showMessage(const char* text);

    QGroupBox* frame_;
    QLabel* supplyCaption_;
    QLabel* supplyName_;
    QLabel* modelCaption_;
    QLabel* modelName_;
    QLineEdit* voltageReadout_;
    QLineEdit* currentReadout_;
    QLabel* voltageLampOff_;
    QLabel* voltageLampLit_;
    QLabel* currentLampOff_;
    QLabel* currentLampLit_;
    QLabel* message_;
    // The switch's text stands in for the readings until the next full status.
    bool panelSwitchShown_ = false;
    QLabel* regulationCaption_;
    QLabel* letterI_;
    QLabel* letterU_;
};
