#include "panels/OneDecimalRule.h"

#include "supply/CNumber.h"
#include "supply/Conversions.h"
#include "toolkit/ClassicEdit.h"

namespace {

QString oneDecimal(double value)
{
    return QString::fromStdString(Conversions::oneDecimal(value));
}

int lengthOf(const ClassicEdit& edit)
{
    return static_cast<int>(edit.text().size());
}

} // namespace

bool OneDecimalRule::isSetpointChar(int code)
{
    const int low = code & 0xFF;
    return (low >= '0' && low <= '9') || low == '.' || low == ',' || low == 1;
}

double OneDecimalRule::leadingNumber(const QString& text)
{
    return CNumber::toDouble(text.toStdString());
}

std::optional<double> OneDecimalRule::onChange(ClassicEdit& edit, int& lastChar, Bounds bounds, Options options)
{
    const int code = lastChar;
    if (code == 0) {
        return std::nullopt;
    }
    if (!isSetpointChar(code)) {
        if (edit.canUndo()) {
            edit.undo();
        }
        return std::nullopt;
    }
    const double value = leadingNumber(edit.text());
    if (code == '.' || code == ',') {
        return onDecimalMark(edit, lastChar, bounds, options, value);
    }
    return onDigit(edit, lastChar, bounds, options, value);
}

std::optional<double> OneDecimalRule::onDecimalMark(
    ClassicEdit& edit, int& lastChar, Bounds bounds, Options options, double value)
{
    lastChar = 0;
    const int length = lengthOf(edit);
    if (edit.selectionStartPosition() == length && edit.selectionEndPosition() == length) {
        edit.setProgramText(oneDecimal(value));
    }
    // Only a mark typed inside the text is still there to take back.
    if (edit.canUndo()) {
        edit.undo();
        value = leadingNumber(edit.text());
    }
    selectLastCharacter(edit);
    if (options.window == Window::AddValues) {
        return std::nullopt;
    }
    if (value > bounds.max) {
        // Digits deleted in the middle and a mark typed at the end can make
        // any number: the edit shows the top of the range, which is sent.
        edit.setProgramText(oneDecimal(bounds.max));
        selectLastCharacter(edit);
        return bounds.max;
    }
    return value < bounds.min ? bounds.min : value;
}

std::optional<double> OneDecimalRule::onDigit(
    ClassicEdit& edit, int& lastChar, Bounds bounds, Options options, double value)
{
    const int length = lengthOf(edit);
    if (value > bounds.max) {
        value = bounds.max;
        edit.setProgramText(oneDecimal(bounds.max));
    } else if (value < bounds.min) {
        value = bounds.min;
        edit.setProgramText(oneDecimal(bounds.min));
    }
    if (length < 3) {
        edit.setProgramText(oneDecimal(value));
        const bool secondDigitFits = !(value * 10 > bounds.max || value * 10 < bounds.min);
        edit.setSelectionRange(secondDigitFits ? 1 : 2, secondDigitFits ? 1 : 3);
    } else {
        placeCaret(edit, lastChar, length, bounds, options);
    }
    if (options.window == Window::AddValues) {
        return std::nullopt;
    }
    lastChar = 0;
    return value;
}

void OneDecimalRule::selectLastCharacter(ClassicEdit& edit)
{
    const int length = lengthOf(edit);
    edit.setSelectionRange(length - 1, length);
}

// Where typing goes on in a text of three characters or more.
void OneDecimalRule::placeCaret(ClassicEdit& edit, int lastChar, int length, Bounds bounds, Options options)
{
    if (lastChar <= 1 || length == 3) {
        return;
    }
    if (!options.threeDigitCaret || bounds.max < 100) {
        selectTenthsAt(edit, 4);
    } else if (length > 4 && bounds.max > 100) {
        selectTenthsAt(edit, 5);
    }
}

// The caret stays at the end when it is there; otherwise the tenths are selected.
void OneDecimalRule::selectTenthsAt(ClassicEdit& edit, int end)
{
    if (edit.selectionStartPosition() == end) {
        edit.setSelectionRange(end, end);
    } else {
        edit.setSelectionRange(end - 1, end);
    }
}

void OneDecimalRule::onStep(ClassicEdit& edit, int& lastChar, Bounds bounds, int delta)
{
    lastChar = 1;
    const double value = leadingNumber(edit.text()) + 0.1 * delta;
    double shown = value;
    if (value > bounds.max) {
        shown = bounds.max;
    } else if (value < bounds.min) {
        shown = bounds.min;
    }
    edit.setProgramText(oneDecimal(shown));
}
