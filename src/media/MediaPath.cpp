#include "MediaPath.h"

#include <QCoreApplication>

namespace pausewell::media {

QString mediaRoot() {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString mediaFullName(const QString &root, const QString &relativeName) {
    QString relative = relativeName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return root + relative;
}

} // namespace pausewell::media
