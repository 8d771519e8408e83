#include "WebLink.h"

#include <QDesktopServices>
#include <QUrl>

namespace pausewell::platform {

bool isWebAddress(const QString &text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed != text)
        return false;
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

bool openWebAddress(const QString &text) {
    return isWebAddress(text) && QDesktopServices::openUrl(QUrl(text, QUrl::StrictMode));
}

} // namespace pausewell::platform
