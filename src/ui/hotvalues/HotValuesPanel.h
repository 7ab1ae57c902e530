#pragma once

#include <QObject>

#include <functional>
#include <optional>

class QAction;
class QListWidget;
class QMenu;
class QPoint;
class QString;
class QWidget;
class HotValueBook;
class SupplyController;
class TimerRun;

// The list of hot values, its frame and its context menu. It shows the
// controller's list and is usable while the controls are live and no timer
// run holds the setpoints.
class HotValuesPanel final : public QObject {
    Q_OBJECT

public:
    enum Command { SetAsCurrent = 32775, AddValue = 32771, AddCurrent = 32772, Delete = 32774 };

    explicit HotValuesPanel(QWidget* window);

    void bind(SupplyController& supply, const HotValueBook& book, TimerRun& run);

    void setEnabled(bool enabled);
    bool isEnabled() const;
    void clear();
    void addRow(const QString& text);
    void removeRow(int row);
    std::optional<int> selectedRow() const;
    void selectRow(int row);
    void clearSelection();

    bool containsGlobal(const QPoint& point) const;
    // The row under a point of the screen, which becomes the selected one.
    std::optional<int> selectRowAtGlobal(const QPoint& point);
    // The menu for a click on a row or not, with what cannot apply greyed.
    QMenu* prepareMenu(bool onRow, bool rowIsCurrent);
    // Shows the menu for a right-click at a point of the screen inside the
    // list; the command chosen, if any.
    std::optional<Command> runMenu(const QPoint& point, const std::function<bool(int row)>& rowIsCurrent);

    QListWidget* list() const { return list_; }
    static std::optional<Command> commandOf(const QAction* action);

private:
    QListWidget* list_;
    QMenu* menu_;
    QAction* setAsCurrent_;
    QAction* remove_;
};
