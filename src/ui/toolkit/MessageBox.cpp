#include "toolkit/MessageBox.h"

#include <QMessageBox>
#include <QString>

void MessageBox::warn(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("tendrel-controller"), text, QMessageBox::Ok, parent);
    box.exec();
}
