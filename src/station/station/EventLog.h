#pragma once

#include "controller/CommandOrigin.h"
#include "controller/CommandRefusal.h"

#include <QObject>
#include <QString>

#include <iosfwd>
#include <list>
#include <optional>

class ScpiServer;
class SupplyStation;

// One line per event of the supplies, for a program with nobody at its
// screen: links found and lost, identifications, setpoints and output
// changes with who asked, trips, programs, recordings and remote clients.
// Under the journal a line starts with its priority, which the journal
// keeps; on a terminal, with the time.
class EventLog final : public QObject {
    Q_OBJECT

public:
    enum class Style { Terminal, Journal };

    EventLog(std::ostream& out, Style style, QObject* parent = nullptr);

    // The journal when standard error is its stream.
    static Style styleOfThisProcess();

    void follow(SupplyStation& station);
    void followRemote(const ScpiServer& server);
    void info(const QString& source, const QString& text) { write(false, source, text); }
    void warn(const QString& source, const QString& text) { write(true, source, text); }

    static QString originText(const CommandOrigin& origin);
    // A refusal as the log tells it, with a place for the origin.
    static QString refusalText(CommandRefusal refusal);

private:
    // What was told last of one supply, so that a line tells a change.
    struct Told {
        bool up = false;
        std::optional<double> volts;
        std::optional<double> amperes;
        bool outputHeading = false;
        // A toggle queued by the command about to be told: a switch even where
        // the heading looks unchanged, as when the supply went back on unseen.
        bool toggleQueued = false;
    };

    void followLink(SupplyStation& station, Told& told);
    void followCommands(SupplyStation& station, Told& told);
    void followPrograms(SupplyStation& station);
    void followReadings(SupplyStation& station);
    void tellCommand(SupplyStation& station, Told& told, const CommandOrigin& origin);
    void write(bool warning, const QString& source, const QString& text);

    std::ostream& out_;
    Style style_;
    // One for each supply followed; a list, so that the connections' references stay good.
    std::list<Told> told_;
};
