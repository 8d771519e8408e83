#pragma once

#include <QImage>
#include <QWidget>

namespace pausewell::media {

// The video display surface: a plain panel in the window colour that shows the
// current frame scaled to fit, centred, keeping its aspect.
class VideoPanel : public QWidget {
    Q_OBJECT
public:
    explicit VideoPanel(QWidget *parent = nullptr);

    void showFrame(const QImage &frame);
    void clearFrame();
    bool hasFrame() const { return !m_frame.isNull(); }

signals:
    // After a frame has been painted on screen (used to measure start-up latency).
    void framePainted();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_frame;
    bool m_framePending = false;
};

} // namespace pausewell::media
