#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QtTranslation::QtTranslation()
{
    installed_ = translator_.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(&translator_);
}

QtTranslation::~QtTranslation()
{
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
    }
}
