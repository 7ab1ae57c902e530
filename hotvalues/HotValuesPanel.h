#pragma once

class QListWidget;
class QString;
class QWidget;

// The list of hot values and its frame.
class HotValuesPanel {
public:
    explicit HotValuesPanel(QWidget* window);

    void setEnabled(bool enabled);
    void clear();
    void addRow(const QString& text);
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};
