#include "ErrorBox.h"

#include <QMessageBox>
#include <QWidget>

namespace pausewell::platform {

QString errorBoxText(const QString &message) {
    if (message.isEmpty())
        return message;
    // Byte order on the UTF-8 form: any non-ASCII last character sorts after ".".
    const QByteArray bytes = message.toUtf8();
    return static_cast<unsigned char>(bytes.back()) > '.' ? message + QLatin1Char('.') : message;
}

void showErrorBox(const QString &message, QWidget *parent) {
    // Parent only to a window the user can see: the box then stays above it.
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle),
                    errorBoxText(message), QMessageBox::Ok,
                    parent && parent->isVisible() ? parent->window() : nullptr);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setObjectName(QStringLiteral("errorBox"));
    box.exec();
}

} // namespace pausewell::platform
