#pragma once

#include <QString>

namespace pausewell::media {

// The executable's folder with a trailing separator, read afresh on every call.
QString mediaRoot();

// Root and relative name joined unchanged, backslashes turned into slashes:
// "/opt/pw/" + "\Stretch\tada.wav" -> "/opt/pw//Stretch/tada.wav" (the doubled
// separator is harmless).
QString mediaFullName(const QString &root, const QString &relativeName);

} // namespace pausewell::media
