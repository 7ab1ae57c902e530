#pragma once

class QListWidget;
class QWidget;

// The list of hot values and its frame.
class HotValuesPanel {
public:
    explicit HotValuesPanel(QWidget* window);

    void setEnabled(bool enabled);
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};
