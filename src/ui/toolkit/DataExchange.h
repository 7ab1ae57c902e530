#pragma once

#include <cstdint>
#include <optional>

class QLineEdit;
class QString;
class QWidget;

// Reads the window's fields into numbers; a field that holds no valid number
// is pointed out to the user.
class DataExchange {
public:
    static const char* const kNumberPrompt;
    static const char* const kBytePrompt;

    // A whole text that is a number, blanks around it allowed.
    static std::optional<double> readDouble(const QString& text);
    // A whole number from 0 to 255.
    static std::optional<std::uint8_t> readByte(const QString& text);

    // Shows the prompt, kNumberPrompt or kBytePrompt, translated; then puts
    // the focus on the field with its text selected.
    static void refuse(QWidget* window, QLineEdit* field, const char* prompt);
    // Reads a field into its member; a field without a valid number leaves the
    // member as it was and, with prompt, is pointed out.
    static bool readInto(QWidget* window, QLineEdit* field, std::uint8_t& member, bool prompt);
    static bool readInto(QWidget* window, QLineEdit* field, double& member, bool prompt);
};
