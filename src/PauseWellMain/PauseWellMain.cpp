#include "PauseWellMain.h"

#include "ErrorBox.h"
#include "MediaPlayer.h"
#include "Placement.h"
#include "WebLink.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

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

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

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

    for (QTimer *wait : {&m_pause, &m_exercise}) {
        wait->setSingleShot(true);
        wait->setTimerType(Qt::PreciseTimer);
    }
    m_pause.setInterval(m_timings.reminderPauseMs);
    m_exercise.setInterval(m_timings.positionMs);

    connect(ui.cxButton1, &QPushButton::clicked, this, [this] { cxButton1Click(); });
    connect(ui.cxButton2, &QPushButton::clicked, this, [this] { cxButton2Click(); });
    connect(ui.cxButton3, &QPushButton::clicked, this, [this] { cxButton3Click(ui.cxButton3); });
    connect(ui.cxButton4, &QPushButton::clicked, this, [this] { cxButton4Click(); });
    connect(ui.cxHyperLinkEdit1, &HyperLinkEdit::linkActivated, this,
            &TPauseWELLMainForm::cxHyperLinkEdit1Click);
    connect(MediaPlayer1, &media::MediaPlayer::failed, this, &TPauseWELLMainForm::onMediaFailed);
    connect(Timer2, &QTimer::timeout, this, &TPauseWELLMainForm::Timer2Timer);
    connect(&m_pause, &QTimer::timeout, this, [this] { cxButton3Click(nullptr); });
    connect(&m_exercise, &QTimer::timeout, this, &TPauseWELLMainForm::nextPosition);

    // The covered Play button holds the focus, so Enter or Space does nothing.
    ui.cxButton2->setFocus();

    FormCreate();
}

TPauseWELLMainForm::~TPauseWELLMainForm() { FormDestroy(); }

void TPauseWELLMainForm::FormCreate() {
    connect(&m_activation, &platform::ActivationListener::activationRequested, this,
            &TPauseWELLMainForm::ActivationRequest);
    m_activation.listen(QString::fromLatin1(kActivationName));
    m_draw.seedFromClock();
    Timer2->start();
}

void TPauseWELLMainForm::FormShow() {
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(cornerPosition(screen->geometry(), size()));
    playMedia(QString::fromLatin1(kChime), MediaUse::Chime);
}

void TPauseWELLMainForm::FormDestroy() {
    m_activation.stop(); // nothing that arrives from now on is acted on
    Timer2->stop();
    m_pause.stop();
    m_exercise.stop();
    MediaPlayer1->close();
}

void TPauseWELLMainForm::cxButton1Click() { putAway(); }

void TPauseWELLMainForm::putAway() {
    // Minimised and invisible until shown again. A withdrawn window has no
    // minimised state on the desktop, so it is kept here: asking the desktop to
    // iconify a window that is going away would only animate it, and its late
    // echoes would look like the user iconifying the window.
    hide();
    m_minimisedAway = true;
}

bool TPauseWELLMainForm::windowMinimised() const { return isMinimized() || m_minimisedAway; }

void TPauseWELLMainForm::cxButton2Click() {}

void TPauseWELLMainForm::cxButton3Click(QObject *) {
    if (routineRunning())
        return;
    ui.cxButton4->hide();
    ui.cxMemo1->resize(kRoutineTextWidth, ui.cxMemo1->height());
    ui.cxButton1->hide();
    ui.cxButton3->hide();
    ui.cxButton2->setFocus();
    ui.cxHyperLinkEdit1->hide();

    // From here until the routine ends, reminder ticks and activation requests wait.
    m_held.begin();
    nextPosition();
}

void TPauseWELLMainForm::nextPosition() {
    if (m_position == kRoutinePositions) {
        putAway();
        endRoutine(true);
        return;
    }
    ++m_position;
    const int index = m_draw.next();
    const Exercise &entry = exercise(index);
    ui.StaticText1->setText(QStringLiteral("%1/%2").arg(m_position).arg(kRoutinePositions));
    ui.cxLabel1->setText(labelDisplayText(text(entry.title)));
    ui.cxLabel1->adjustSize();
    ui.cxMemo1->setPlainText(text(entry.instructions));
    // The new texts are on screen before the video starts.
    repaint();
    emit exerciseShown(m_position, index);

    if (!playMedia(text(entry.video), MediaUse::RoutineVideo)) {
        endRoutine(false);
        return;
    }
    m_exercise.start();
}

void TPauseWELLMainForm::endRoutine(bool completed) {
    m_exercise.stop();
    m_position = 0;
    endHeldPhase();
    emit routineEnded(completed);
}

void TPauseWELLMainForm::cxButton4Click() { close(); }

void TPauseWELLMainForm::cxHyperLinkEdit1Click(const QString &text) {
    platform::openWebAddress(text);
}

void TPauseWELLMainForm::Timer2Timer() {
    if (m_held.hold(HeldEvents::Tick))
        return;
    if (!isVisible()) {
        // Shown straight into normal state, so it does not flash up minimised.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show(); // runs FormShow: placement and chime
    }
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    if (!playMedia(QString::fromLatin1(kChime), MediaUse::ReminderChime))
        return;
    m_held.begin();
    m_pause.start();
}

void TPauseWELLMainForm::ActivationRequest() {
    if (m_held.hold(HeldEvents::Activation))
        return;
    if (!isVisible())
        return; // put away by Remind or a routine: it stays away until the next reminder
    if (isMinimized())
        showNormal(); // restored from the task bar: placed again and chiming
    raise();
    activateWindow();
}

bool TPauseWELLMainForm::playMedia(const QString &relativeName, MediaUse use) {
    m_mediaUse = use;
    const QString error = MediaPlayer1->playFile(relativeName);
    if (error.isEmpty())
        return true;
    m_mediaUse = MediaUse::None;
    reportError(error);
    return false;
}

void TPauseWELLMainForm::onMediaFailed(const QString &message) {
    // A file that opened but cannot be decoded ends the sequence that asked for it,
    // as a failure to open it at once would have.
    const MediaUse use = std::exchange(m_mediaUse, MediaUse::None);
    if (use == MediaUse::ReminderChime && m_pause.isActive()) {
        m_pause.stop();
        endHeldPhase();
    } else if (use == MediaUse::RoutineVideo && routineRunning()) {
        endRoutine(false);
    }
    reportError(message);
}

void TPauseWELLMainForm::endHeldPhase() {
    const int pending = m_held.end();
    // Handed to the event loop that runs next (an error box's, if one opens now),
    // as the events would have been had they queued up: the request first.
    if (pending & HeldEvents::Activation)
        QTimer::singleShot(0, this, &TPauseWELLMainForm::ActivationRequest);
    if (pending & HeldEvents::Tick)
        QTimer::singleShot(0, this, &TPauseWELLMainForm::Timer2Timer);
}

// FormShow runs each time the window comes into sight: when it is shown from
// hidden (before it reaches the screen), and when it is restored after being
// iconified from the task bar. Qt's reports of the window state flap while the
// desktop restores a window, so the restore is taken from the window's exposure.
void TPauseWELLMainForm::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (windowHandle() && !m_watchingExposure) {
        windowHandle()->installEventFilter(this);
        m_watchingExposure = true;
    }
    if (!event->spontaneous()) {
        m_minimisedAway = false; // shown again in normal state
        if (!isMinimized())
            sighted();
    }
}

void TPauseWELLMainForm::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        m_shown = m_onScreen = false;
}

bool TPauseWELLMainForm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose)
        exposureOrStateChanged();
    return QWidget::eventFilter(watched, event);
}

void TPauseWELLMainForm::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        exposureOrStateChanged();
}

// The desktop reports an iconify as an unmap and a state change, in either order,
// and may repeat an old state while a window is being mapped: only a window that
// was on screen can be iconified.
void TPauseWELLMainForm::exposureOrStateChanged() {
    const bool exposed = windowHandle() && windowHandle()->isExposed();
    if (exposed && isVisible()) {
        m_onScreen = true;
        if (!isMinimized())
            sighted();
    } else if (m_onScreen && isMinimized()) {
        m_onScreen = false;
        m_shown = false; // iconified: out of sight until restored
    }
}

void TPauseWELLMainForm::sighted() {
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TPauseWELLMainForm::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closed();
}

void TPauseWELLMainForm::reportError(const QString &message) {
    platform::showErrorBox(message, this);
}

} // namespace pausewell
