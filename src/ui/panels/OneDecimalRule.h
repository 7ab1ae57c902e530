#pragma once

#include <optional>

class ClassicEdit;
class QString;

// Keeps a setpoint edit in the one-decimal form while the user types: digits
// are clamped to the bounds and rewritten with one decimal, a point or comma
// moves the selection to the tenths, any other character is taken back.
class OneDecimalRule {
public:
    struct Bounds {
        double min = 0.0;
        double max = 0.0;
    };

    // The main window sends each result and forgets the character; the
    // add-values dialog only keeps its edits in form.
    enum class Window { Main, AddValues };

    struct Options {
        Window window = Window::Main;
        // The add-values dialog's current edit, which may need three whole digits.
        bool threeDigitCaret = false;
    };

    // lastChar: the last character code the window saw, 1 for a change made
    // by the program. Runs after each change of the edit's text (and again,
    // re-entered, for each text it sets itself). Returns the value to send.
    static std::optional<double> onChange(ClassicEdit& edit, int& lastChar, Bounds bounds, Options options);

    // One arrow step of delta tenths: rewrites the edit, which runs onChange
    // with the marker.
    static void onStep(ClassicEdit& edit, int& lastChar, Bounds bounds, int delta);

    static bool isSetpointChar(int code);
    static double leadingNumber(const QString& text);

private:
    static std::optional<double> onDecimalMark(
        ClassicEdit& edit, int& lastChar, Bounds bounds, Options options, double value);
    static std::optional<double> onDigit(
        ClassicEdit& edit, int& lastChar, Bounds bounds, Options options, double value);
    static void placeCaret(ClassicEdit& edit, int lastChar, int length, Bounds bounds, Options options);
    static void selectTenthsAt(ClassicEdit& edit, int end);
    static void selectLastCharacter(ClassicEdit& edit);
};
