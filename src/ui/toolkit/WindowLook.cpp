#include "toolkit/WindowLook.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStringList>
#include <QWidget>

QColor WindowLook::windowColour()
{
    return {105, 149, 220};
}

QColor WindowLook::readoutTextColour()
{
    return {220, 250, 105};
}

QFont WindowLook::dialogFont()
{
    QFont font;
    font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"});
    font.setPixelSize(11);
    return font;
}

QFont WindowLook::clockFont()
{
    QFont font;
    font.setFamilies({"Liberation Sans", "Arial", "DejaVu Sans"});
    font.setPixelSize(24);
    font.setBold(true);
    return font;
}

QFont WindowLook::readoutFont()
{
    QFont font;
    font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif", "Serif"});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(20);
    font.setWeight(QFont::Thin);
    return font;
}

void WindowLook::paintWindow(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, windowColour());
    palette.setColor(QPalette::WindowText, Qt::black);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void WindowLook::paintWritableEdit(QWidget* edit)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Active, QPalette::Base, Qt::white);
    palette.setColor(QPalette::Inactive, QPalette::Base, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Base, windowColour());
    palette.setColor(QPalette::Active, QPalette::Text, Qt::black);
    palette.setColor(QPalette::Inactive, QPalette::Text, Qt::black);
    edit->setPalette(palette);
}

void WindowLook::paintReadout(QLineEdit* readout)
{
    QPalette palette = readout->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::black);
        palette.setColor(group, QPalette::Text, readoutTextColour());
    }
    readout->setPalette(palette);
}

void WindowLook::paintReadOnlyText(QWidget* text)
{
    QPalette palette = text->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, windowColour());
    }
    text->setPalette(palette);
}

void WindowLook::paintList(QWidget* list)
{
    QPalette palette = list->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    list->setPalette(palette);
}

QLabel* WindowLook::makePicture(QWidget* parent, const char* resource)
{
    auto* label = new QLabel(parent);
    label->setPixmap(picture(QString::fromLatin1(resource), parent->devicePixelRatioF()));
    return label;
}

// Qt looks for NAME@2x.png by itself for icons only. Read from such a name,
// a pixmap carries the pixel ratio 2.
QPixmap WindowLook::picture(const QString& resource, qreal pixelRatio)
{
    const qsizetype suffix = resource.lastIndexOf(QLatin1Char('.'));
    if (pixelRatio > 1.0 && suffix >= 0) {
        QString twice = resource;
        QPixmap sharp(twice.insert(suffix, QStringLiteral("@2x")));
        if (!sharp.isNull()) {
            return sharp;
        }
    }
    return {resource};
}

QIcon WindowLook::windowIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/res/app_icon.png"));
    icon.addFile(QStringLiteral(":/res/app_icon@2x.png"));
    return icon;
}
