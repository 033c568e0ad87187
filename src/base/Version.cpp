#include "base/Version.h"

// LUMIVERA_VERSION comes from the build, for this file alone, so that a new version rebuilds only it.
QString Version::text() {
    return QStringLiteral(LUMIVERA_VERSION);
}
