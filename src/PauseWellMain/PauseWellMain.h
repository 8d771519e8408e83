#pragma once

#include "ActivationChannel.h"
#include "ExerciseDraw.h"
#include "HeldEvents.h"
#include "ui_PauseWellMain.h"

#include <QTimer>
#include <QWidget>

namespace pausewell {

namespace media {
class MediaPlayer;
}

// The program's durations. The standard values are the product's; tests run the
// same window with shorter ones.
struct Timings {
    int positionMs = 28000;     // one exercise, from the start of its video
    int reminderPauseMs = 2000; // chime to routine, on the hourly reminder
    int reminderPeriodMs = 3600000;
};

inline constexpr char kChime[] = "\\Stretch\\tada.wav";
// The activation channel's name; the sender's "PauseWELL" reaches it too.
inline constexpr char kActivationName[] = "PauseWell";
inline constexpr int kRoutinePositions = 6;
inline constexpr int kRoutineTextWidth = 189;

// The one window: its event handlers carry the whole behaviour.
class TPauseWELLMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TPauseWELLMainForm(const Timings &timings = {}, QWidget *parent = nullptr);
    ~TPauseWELLMainForm() override;

    const Timings &timings() const { return m_timings; }
    ExerciseDraw &draw() { return m_draw; }
    bool routineRunning() const { return m_position > 0; }
    // Minimised: iconified on the desktop, or put away (hidden) by Remind or a routine.
    bool windowMinimised() const;

    // Handlers, named after the component and event that fire them.
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void cxButton1Click();                          // Remind
    void cxButton2Click();                          // Play: covered, does nothing
    void cxButton3Click(QObject *sender = nullptr); // Start: the routine
    void cxButton4Click();                          // Exit
    void cxHyperLinkEdit1Click(const QString &text);
    void Timer2Timer();       // the hourly reminder
    void ActivationRequest(); // a second launch asked for this copy

    Ui::PauseWELLMainForm ui;
    media::MediaPlayer *MediaPlayer1 = nullptr;
    QTimer *Timer2 = nullptr;

signals:
    // The user or the desktop closed the window: the program ends.
    void closed();
    // A routine position is on screen (1..6) with catalogue entry `index`.
    void exerciseShown(int position, int index);
    void routineEnded(bool completed);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // What the media player is playing for, so a late failure ends the right sequence.
    enum class MediaUse { None, Chime, ReminderChime, RoutineVideo };

    void putAway();
    void sighted();
    void exposureOrStateChanged();
    bool playMedia(const QString &relativeName, MediaUse use);
    void nextPosition();
    void endRoutine(bool completed);
    void endHeldPhase();
    void reportError(const QString &message);
    void onMediaFailed(const QString &message);

    Timings m_timings;
    platform::ActivationListener m_activation;
    ExerciseDraw m_draw;
    HeldEvents m_held;
    QTimer m_pause;     // the reminder's wait before its routine
    QTimer m_exercise;  // one routine position
    int m_position = 0; // routine position on screen, 0 when no routine runs
    MediaUse m_mediaUse = MediaUse::None;
    bool m_shown = false; // FormShow ran since the window last went out of sight
    bool m_minimisedAway = false;
    bool m_onScreen = false; // exposed since it was last shown
    bool m_watchingExposure = false;
};

} // namespace pausewell
