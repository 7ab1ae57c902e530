#pragma once

#include <QElapsedTimer>
#include <QWidget>

class ClassicEdit;
class QToolButton;

// A small pair of arrows attached to an edit. It keeps no position of its
// own: each click, and each Up or Down key in its edit, reports a step, which
// grows while an arrow is held (1, then 5 after two seconds, 20 after five).
// The range only says which way is up.
class UpDownControl final : public QWidget {
    Q_OBJECT

public:
    explicit UpDownControl(QWidget* parent);

    void attach(ClassicEdit* buddy);
    void setRange(int lower, int upper);
    int lower() const { return lower_; }
    int upper() const { return upper_; }

    static int acceleratedStep(qint64 heldMs);

signals:
    void stepped(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int direction() const { return upper_ >= lower_ ? 1 : -1; }
    void arrowClicked(int sign);

    QToolButton* up_;
    QToolButton* down_;
    QElapsedTimer held_;
    int lower_ = 0;
    int upper_ = 100;
};
