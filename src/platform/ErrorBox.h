#pragma once

#include <QString>

class QWidget;

namespace pausewell::platform {

inline constexpr char kApplicationTitle[] = "Pause WELL";

// The box's text: a full stop is added when the text is not empty and its last
// character sorts after "." (so "…file" gets one, "…file." or "…)" do not).
QString errorBoxText(const QString &message);

// The one place failures reach the user: a modal critical box titled "Pause WELL"
// with a single OK button. Runs its own event loop until the user closes it.
void showErrorBox(const QString &message, QWidget *parent = nullptr);

} // namespace pausewell::platform
