#pragma once

#include <QString>

namespace pausewell::platform {

// The link box is editable, so only an absolute http(s) address is ever followed:
// never a local path, a program or another scheme.
bool isWebAddress(const QString &text);

// Hands a web address, unchanged, to the desktop's browser. False when the text
// is not a web address (nothing is opened) or the desktop refused it.
bool openWebAddress(const QString &text);

} // namespace pausewell::platform
