#include "PauseWellMain.h"

#include "ErrorBox.h"
#include "MediaPlayer.h"
#include "Placement.h"
#include "WebLink.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace pausewell {
namespace {

// Design sizes in logical pixels; Qt scales them with the screen. Without Tahoma,
// Liberation Sans keeps the lines of text the width the layout was made for
// (the usual substitute is wide enough to wrap every line of the introduction).
QFont tahoma(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

TPauseWELLMainForm::TPauseWELLMainForm(const Timings &timings, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_timings(timings) {
    ui.setupUi(this);
    setFixedSize(449, 250);

    setFont(tahoma(11));
    ui.cxLabel1->setFont(tahoma(16));
    ui.cxLabel1->adjustSize();
    ui.cxMemo1->setFont(tahoma(13));
    QPalette memo = ui.cxMemo1->palette();
    memo.setColor(QPalette::Text, QColor(0x80, 0x80, 0x80));
    memo.setColor(QPalette::Base, Qt::white);
    ui.cxMemo1->setPalette(memo);
    ui.cxMemo1->document()->setDocumentMargin(2);
    ui.cxHyperLinkEdit1->setText(QStringLiteral(PAUSEWELL_HOME_PAGE));
    ui.cxHyperLinkEdit1->setCursorPosition(0);

    MediaPlayer1 = new media::MediaPlayer(this);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    MediaPlayer1->setDisplay(ui.Panel1);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    // Coarse: at an hour's period Qt allows it a second's slack, so it wakes us only when due.
    Timer2->setTimerType(Qt::CoarseTimer);
    Timer2->setInterval(m_timings.reminderPeriodMs);

    connect(ui.cxButton1, &QPushButton::clicked, this, [this] { cxButton1Click(); });
    connect(ui.cxButton2, &QPushButton::clicked, this, [this] { cxButton2Click(); });
    connect(ui.cxButton3, &QPushButton::clicked, this, [this] { cxButton3Click(ui.cxButton3); });
    connect(ui.cxButton4, &QPushButton::clicked, this, [this] { cxButton4Click(); });
    connect(ui.cxHyperLinkEdit1, &HyperLinkEdit::linkActivated, this,
            &TPauseWELLMainForm::cxHyperLinkEdit1Click);
    connect(MediaPlayer1, &media::MediaPlayer::failed, this, &TPauseWELLMainForm::onMediaFailed);

    // The covered Play button holds the focus, so Enter or Space does nothing.
    ui.cxButton2->setFocus();

    FormCreate();
}

TPauseWELLMainForm::~TPauseWELLMainForm() { FormDestroy(); }

void TPauseWELLMainForm::FormCreate() {
    connect(&m_activation, &platform::ActivationListener::activationRequested, this,
            &TPauseWELLMainForm::ActivationRequest);
    m_activation.listen(QString::fromLatin1(kActivationName));
    Timer2->start();
}

void TPauseWELLMainForm::FormShow() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        move(cornerPosition(screen->geometry(), size()));
    if (const QString error = MediaPlayer1->playFile(QString::fromLatin1(kChime)); !error.isEmpty())
        reportError(error);
}

void TPauseWELLMainForm::FormDestroy() {
    m_activation.stop(); // nothing that arrives from now on is acted on
    Timer2->stop();
    MediaPlayer1->close();
}

void TPauseWELLMainForm::cxButton1Click() {
    setWindowState(windowState() | Qt::WindowMinimized);
    hide();
}

void TPauseWELLMainForm::cxButton2Click() {}

void TPauseWELLMainForm::cxButton3Click(QObject *) {}

void TPauseWELLMainForm::cxButton4Click() { close(); }

void TPauseWELLMainForm::cxHyperLinkEdit1Click(const QString &text) {
    platform::openWebAddress(text);
}

void TPauseWELLMainForm::ActivationRequest() {}

void TPauseWELLMainForm::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // Every time the window comes back into sight (shown, or restored from the
    // task bar) it is placed again and chimes, once.
    if (m_shown || (windowState() & Qt::WindowMinimized))
        return;
    m_shown = true;
    FormShow();
}

void TPauseWELLMainForm::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    m_shown = false;
}

void TPauseWELLMainForm::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closed();
}

void TPauseWELLMainForm::reportError(const QString &message) {
    platform::showErrorBox(message, this);
}

void TPauseWELLMainForm::onMediaFailed(const QString &message) { reportError(message); }

} // namespace pausewell
