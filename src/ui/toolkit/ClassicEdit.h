#pragma once

#include <QLineEdit>

#include <optional>

// A single-line edit with the contract the one-decimal editing rule was made
// for: a text set by the program raises the change at once, leaves the caret
// at the start with nothing selected and nothing to undo, and is never cut by
// the length limit; undo takes back the last edit once (the user's Ctrl+Z can
// itself be taken back once), so undoing in a change handler always ends; the
// Up and Down keys step the attached arrows instead of moving the caret.
class ClassicEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit ClassicEdit(QWidget* parent);

    void setProgramText(const QString& text);
    // The most characters typing may give; the program's own texts may be longer.
    void setTypingLimit(int limit);
    int typingLimit() const { return typingLimit_; }

    bool canUndo() const { return undo_.has_value(); }
    void undo();

    int selectionStartPosition() const;
    int selectionEndPosition() const;
    void setSelectionRange(int start, int end);

signals:
    // Any change of the text, by the user or by the program.
    void changed();
    // The Up or Down key: +1 or -1.
    void stepKey(int delta);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct State {
        QString text;
        int selectionStart = 0;
        int selectionEnd = 0;
    };

    State currentState() const;
    void restore(const State& state);
    void userUndo();
    bool wouldExceedLimit(const QKeyEvent* event) const;
    template <typename Edit> void userEdit(Edit edit);

    std::optional<State> undo_;
    int typingLimit_ = 32767;
};
