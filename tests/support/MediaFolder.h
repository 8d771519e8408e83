#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

// Each test program runs from a folder of its own, so it can give itself a
// "Stretch" folder to break without touching anyone else's media. The folder is
// filled with links to the generated media (PAUSEWELL_MEDIA_DIR).
class MediaFolder {
public:
    MediaFolder() { reset(); }

    QString dir() const {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/Stretch");
    }
    QString path(const QString &name) const { return dir() + QLatin1Char('/') + name; }

    void reset() {
        QDir(dir()).removeRecursively();
        QDir().mkpath(dir());
        const QDir source(QStringLiteral(PAUSEWELL_MEDIA_DIR));
        for (const QString &name : source.entryList(QDir::Files))
            QFile::link(source.filePath(name), path(name));
    }

    void remove(const QString &name) const { QFile::remove(path(name)); }

    void write(const QString &name, const QByteArray &bytes) const {
        QFile::remove(path(name));
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
};
