#pragma once

#include <QString>

// The About window's version line, "Version 1.0.9": plain decimal numbers,
// unlike the zero-padded form of a file version text.
QString versionLine(int major, int minor, int revision);
