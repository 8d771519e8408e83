#include "VideoPanel.h"

#include <QPainter>

namespace pausewell::media {

VideoPanel::VideoPanel(QWidget *parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    // We paint every pixel ourselves on top of the window-colour background.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void VideoPanel::showFrame(const QImage &frame) {
    m_frame = frame;
    m_framePending = true;
    update();
}

void VideoPanel::clearFrame() {
    if (m_frame.isNull())
        return;
    m_frame = QImage();
    m_framePending = false;
    update();
}

void VideoPanel::paintEvent(QPaintEvent *) {
    if (m_frame.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize scaled = m_frame.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2),
                       scaled);
    painter.drawImage(target, m_frame);
    if (m_framePending) {
        m_framePending = false;
        emit framePainted();
    }
}

} // namespace pausewell::media
