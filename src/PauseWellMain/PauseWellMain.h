#pragma once

#include "ActivationChannel.h"
#include "ui_PauseWellMain.h"

#include <QWidget>

class QTimer;

namespace pausewell {

namespace media {
class MediaPlayer;
}

// The program's durations. The standard values are the product's; tests run the
// same window with shorter ones.
struct Timings {
    int positionMs = 28000;        // one exercise, from the start of its video
    int reminderPauseMs = 2000;    // chime to routine, on the hourly reminder
    int reminderPeriodMs = 3600000;
};

inline constexpr char kChime[] = "\\Stretch\\tada.wav";
// The activation channel's name; the sender's "PauseWELL" reaches it too.
inline constexpr char kActivationName[] = "PauseWell";

// The one window: its event handlers carry the whole behaviour.
class TPauseWELLMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TPauseWELLMainForm(const Timings &timings = {}, QWidget *parent = nullptr);
    ~TPauseWELLMainForm() override;

    const Timings &timings() const { return m_timings; }

    // Handlers, named after the component and event that fire them.
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void cxButton1Click(); // Remind
    void cxButton2Click(); // Play: covered, does nothing
    void cxButton3Click(QObject *sender = nullptr); // Start
    void cxButton4Click(); // Exit
    void cxHyperLinkEdit1Click(const QString &text);
    void ActivationRequest(); // a second launch asked for this copy

    Ui::PauseWELLMainForm ui;
    media::MediaPlayer *MediaPlayer1 = nullptr;
    QTimer *Timer2 = nullptr;

signals:
    // The user or the desktop closed the window: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void reportError(const QString &message);
    void onMediaFailed(const QString &message);

    Timings m_timings;
    platform::ActivationListener m_activation;
    bool m_shown = false; // FormShow ran since the window last went out of sight
};

} // namespace pausewell
