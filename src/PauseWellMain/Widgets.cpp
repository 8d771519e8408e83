#include "Widgets.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace pausewell {

QString labelDisplayText(const QString &caption) {
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            shown += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            shown += QLatin1Char('&');
            ++i;
        }
    }
    return shown;
}

SkinnedPanel::SkinnedPanel(QWidget *parent) : QWidget(parent) {}

void SkinnedPanel::setCaption(const QString &caption) {
    m_caption = caption;
    update();
}

void SkinnedPanel::setBorderColor(const QColor &color) {
    m_border = color;
    update();
}

void SkinnedPanel::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, Qt::white);
    p.setPen(m_border);
    p.drawRect(all.adjusted(0, 0, -1, -1));

    // The strip runs from one pixel inside the left edge to one inside the right
    // and covers the frame's top line.
    const QRect strip(1, 0, width() - 2, kStripHeight);
    QLinearGradient shade(strip.topLeft(), strip.bottomLeft());
    shade.setColorAt(0.0, QColor(0xf4, 0xf7, 0xfb));
    shade.setColorAt(1.0, QColor(0xd5, 0xde, 0xea));
    p.fillRect(strip, shade);
    p.setPen(QColor(0xb8, 0xc4, 0xd4));
    p.drawLine(strip.bottomLeft(), strip.bottomRight());

    p.setPen(Qt::black);
    p.setFont(font());
    const QRect text(kCaptionLeft, 0, width() - kCaptionLeft, kStripHeight);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
}

HyperLinkEdit::HyperLinkEdit(QWidget *parent) : QLineEdit(parent) {
    setFrame(false);
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, Qt::blue);
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);
}

void HyperLinkEdit::mouseReleaseEvent(QMouseEvent *event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !hasSelectedText() &&
        rect().contains(event->position().toPoint()))
        emit linkActivated(text());
}

void HyperLinkEdit::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        emit linkActivated(text());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace pausewell
