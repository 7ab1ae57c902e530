#include "toolkit/ClassicEdit.h"

#include <QKeyEvent>
#include <QKeySequence>

ClassicEdit::ClassicEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setContextMenuPolicy(Qt::PreventContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
}

void ClassicEdit::setProgramText(const QString& text)
{
    {
        const QSignalBlocker quiet(this);
        setText(text);
        setCursorPosition(0);
        deselect();
    }
    undo_.reset();
    emit changed();
}

void ClassicEdit::setTypingLimit(int limit)
{
    typingLimit_ = limit;
}

void ClassicEdit::undo()
{
    if (!undo_) {
        return;
    }
    const State previous = *undo_;
    undo_.reset();
    restore(previous);
    emit changed();
}

// The user's own undo can itself be taken back, once.
void ClassicEdit::userUndo()
{
    if (!undo_) {
        return;
    }
    const State previous = *undo_;
    undo_ = currentState();
    restore(previous);
    emit changed();
}

int ClassicEdit::selectionStartPosition() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int ClassicEdit::selectionEndPosition() const
{
    return hasSelectedText() ? selectionEnd() : cursorPosition();
}

void ClassicEdit::setSelectionRange(int start, int end)
{
    const int length = static_cast<int>(text().size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (start == end) {
        setCursorPosition(start);
    } else {
        setSelection(start, end - start);
    }
}

ClassicEdit::State ClassicEdit::currentState() const
{
    return {text(), selectionStartPosition(), selectionEndPosition()};
}

void ClassicEdit::restore(const State& state)
{
    const QSignalBlocker quiet(this);
    setText(state.text);
    setSelectionRange(state.selectionStart, state.selectionEnd);
}

bool ClassicEdit::wouldExceedLimit(const QKeyEvent* event) const
{
    const bool inserts = !event->text().isEmpty() && event->text().front().isPrint()
        && !event->modifiers().testFlag(Qt::ControlModifier);
    const qsizetype kept = text().size() - selectedText().size();
    return inserts && kept + event->text().size() > typingLimit_;
}

// Runs one edit by the user; a change it makes becomes the one step of undo
// and is announced once the edit has finished. An edit that would go past the
// length limit (a paste, say) is refused whole.
template <typename Edit> void ClassicEdit::userEdit(Edit edit)
{
    const State before = currentState();
    {
        const QSignalBlocker quiet(this);
        edit();
        if (text().size() > typingLimit_ && text().size() > before.text.size()) {
            restore(before);
        }
    }
    if (text() != before.text) {
        undo_ = before;
        emit changed();
    }
}

void ClassicEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        emit stepKey(event->key() == Qt::Key_Up ? 1 : -1);
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        userUndo();
        return;
    }
    if (event->matches(QKeySequence::Redo) || wouldExceedLimit(event)) {
        return;
    }
    userEdit([&] { QLineEdit::keyPressEvent(event); });
}

void ClassicEdit::inputMethodEvent(QInputMethodEvent* event)
{
    userEdit([&] { QLineEdit::inputMethodEvent(event); });
}

void ClassicEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the X selection.
    userEdit([&] { QLineEdit::mouseReleaseEvent(event); });
}
