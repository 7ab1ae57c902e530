#pragma once

#include <QWidget>

class QToolButton;

// A small pair of arrows beside an edit. It keeps no position of its own:
// each click reports its step, and the range only says which way is up.
class UpDownControl final : public QWidget {
    Q_OBJECT

public:
    explicit UpDownControl(QWidget* parent);

    void setRange(int lower, int upper);
    int lower() const { return lower_; }
    int upper() const { return upper_; }

signals:
    void stepped(int delta);

private:
    int direction() const { return upper_ >= lower_ ? 1 : -1; }

    QToolButton* up_;
    QToolButton* down_;
    int lower_ = 0;
    int upper_ = 100;
};
