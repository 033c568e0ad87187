// The program's version, one for the whole build: the version the build names the project with. The
// command line's --version and the information window both show it.
#pragma once

#include <QString>

namespace Version {

// The version as people read it, "0.1.0".
QString text();

} // namespace Version
