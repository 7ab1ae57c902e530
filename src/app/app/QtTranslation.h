#pragma once

#include <QTranslator>

// Qt's own texts (an edit's context menu: Undo, Cut, Copy, Paste) in Russian,
// like the window's, for as long as it lives. Without Debian's
// qt6-translations-l10n they stay English.
class QtTranslation {
public:
    QtTranslation();
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    bool installed() const { return installed_; }

private:
    QTranslator translator_;
    bool installed_ = false;
};
