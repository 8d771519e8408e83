#pragma once

#include <QColor>
#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace pausewell {

// Text as a label with accelerators shows it: "&&" is one "&", a single "&"
// (which would underline the next letter) is not drawn.
QString labelDisplayText(const QString &caption);

// The window's frame and background: white body, a one-pixel frame in the border
// colour and a title strip with the caption over the top.
class SkinnedPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor)
public:
    explicit SkinnedPanel(QWidget *parent = nullptr);

    static constexpr int kStripHeight = 21;
    static constexpr int kCaptionLeft = 10;

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QColor borderColor() const { return m_border; }
    void setBorderColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_border{104, 104, 104};
};

// An editable web address drawn as a link: a click (with nothing selected) or
// Ctrl+Enter asks for it to be followed.
class HyperLinkEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit HyperLinkEdit(QWidget *parent = nullptr);

signals:
    void linkActivated(const QString &text);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace pausewell
