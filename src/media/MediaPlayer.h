#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QAudioOutput;
class QMediaPlayer;
class QVideoFrame;
class QVideoSink;

namespace pausewell::media {

class VideoPanel;

// The window's one media player: plays a sound or a video by name, at most one
// item open at a time, a video's picture routed into the display panel.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit MediaPlayer(QObject *parent = nullptr);
    ~MediaPlayer() override;

    void setDisplay(VideoPanel *panel);

    // Set the name, open (closing whatever was open) and start playing without
    // waiting. A file that is missing, unreadable or empty fails here, at once:
    // the returned text names it and nothing is left open. An empty result means
    // the file was handed to the decoder; if the decoder cannot open it, failed()
    // follows (once) as soon as the backend says so. Failures after that, while
    // playing, are not reported.
    QString playFile(const QString &relativeName);

    // Stops and forgets whatever is open.
    void close();

    QString fileName() const { return m_fileName; }
    bool isOpen() const { return m_open; }
    bool hasPicture() const;

signals:
    // A file was opened and playback asked for (the full file name).
    void started(const QString &fileName);
    void failed(const QString &message);

private:
    void ensureBackend();
    void startPending();
    void reportBackendError(const QString &detail);
    void presentFrame(const QVideoFrame &frame);

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_audio = nullptr;
    QVideoSink *m_sink = nullptr;
    QPointer<VideoPanel> m_panel;
    QString m_fileName;
    bool m_open = false;
    bool m_loaded = false; // the decoder opened the item (it played, or is ready to)
    bool m_reported = false;
    bool m_startPending = false;
};

} // namespace pausewell::media
