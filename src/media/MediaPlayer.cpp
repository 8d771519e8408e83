#include "MediaPlayer.h"

#include "MediaPath.h"
#include "VideoPanel.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <utility>

namespace pausewell::media {
namespace {

QString cannotOpen(const QString &path, const QString &why) {
    return QStringLiteral("Cannot open the media file \"%1\": %2").arg(path, why);
}

// The checks that need no decoder, so the common failures are reported at once.
QString checkReadable(const QString &path) {
    const QFileInfo info(path);
    if (!info.exists())
        return cannotOpen(path, QStringLiteral("the file does not exist"));
    if (!info.isFile())
        return cannotOpen(path, QStringLiteral("it is not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotOpen(path, file.errorString());
    if (file.size() == 0)
        return cannotOpen(path, QStringLiteral("the file is empty"));
    return {};
}

} // namespace

MediaPlayer::MediaPlayer(QObject *parent) : QObject(parent) {}

// The decoder backend is set up on first use, from the event loop: loading it
// takes ~80 ms, which would otherwise hold back the window's first appearance.
void MediaPlayer::ensureBackend() {
    if (m_player)
        return;
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    m_sink = new QVideoSink(this);
    m_player->setAudioOutput(m_audio);
    m_player->setVideoOutput(m_sink);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &MediaPlayer::presentFrame);
    connect(m_player, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error error, const QString &text) {
                if (error != QMediaPlayer::NoError)
                    reportBackendError(text);
            });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
        switch (s) {
        case QMediaPlayer::InvalidMedia:
            reportBackendError(m_player->errorString());
            break;
        case QMediaPlayer::LoadedMedia:
        case QMediaPlayer::BufferingMedia:
        case QMediaPlayer::BufferedMedia:
            m_loaded = true;
            break;
        default:
            break;
        }
    });
    // Played to the end: the item stays open (the panel keeps its last picture) but
    // the pipeline goes, so an idle program holds no decoder or audio stream.
    connect(
        m_player, &QMediaPlayer::mediaStatusChanged, this,
        [this](QMediaPlayer::MediaStatus s) {
            // Only an item that loaded can have ended: an end reported before that
            // is a late one from the item this one replaced.
            if (s == QMediaPlayer::EndOfMedia && m_open && m_loaded &&
                m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
                m_player->setSource(QUrl());
        },
        Qt::QueuedConnection);
}

MediaPlayer::~MediaPlayer() {
    // Close before the outputs go, so the pipeline never renders into freed sinks.
    close();
}

void MediaPlayer::setDisplay(VideoPanel *panel) { m_panel = panel; }

QString MediaPlayer::playFile(const QString &relativeName) {
    close();
    m_fileName = mediaFullName(mediaRoot(), relativeName);
    if (QString error = checkReadable(m_fileName); !error.isEmpty())
        return error;
    m_open = true;
    m_loaded = false;
    m_reported = false;
    // Playback starts as soon as the event loop runs; the caller does not wait.
    m_startPending = true;
    QMetaObject::invokeMethod(this, &MediaPlayer::startPending, Qt::QueuedConnection);
    emit started(m_fileName);
    return {};
}

void MediaPlayer::startPending() {
    if (!std::exchange(m_startPending, false) || !m_open)
        return; // closed, or superseded by a later file that already started
    ensureBackend();
    m_player->setSource(QUrl::fromLocalFile(m_fileName));
    m_player->play();
}

void MediaPlayer::close() {
    m_startPending = false;
    if (m_open) {
        m_open = false;
        // An empty source tears the pipeline down at once; stop() on a playing
        // video would first wait ~300 ms for the video sink on this very thread.
        if (m_player)
            m_player->setSource(QUrl());
    }
    if (m_panel)
        m_panel->clearFrame();
}

bool MediaPlayer::hasPicture() const { return m_open && m_player && m_player->hasVideo(); }

void MediaPlayer::reportBackendError(const QString &detail) {
    // Errors can come twice, or after the item was closed: report each open item's
    // once. Once the decoder has opened the file, a failure while playing is not an
    // open failure and is not reported; what played stays on the panel.
    if (!m_open || m_reported || m_loaded)
        return;
    m_reported = true;
    const QString path = m_fileName;
    close();
    emit failed(cannotOpen(
        path, detail.isEmpty() ? QStringLiteral("it is not a playable sound or video") : detail));
}

void MediaPlayer::presentFrame(const QVideoFrame &frame) {
    // Converting frames nobody can see would only cost CPU.
    if (!m_open || !m_panel || !m_panel->isVisible() || !frame.isValid())
        return;
    const QImage image = frame.toImage();
    if (!image.isNull()) {
        m_loaded = true;
        m_panel->showFrame(image);
    }
}

} // namespace pausewell::media
