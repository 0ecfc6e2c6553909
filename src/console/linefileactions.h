#pragma once

#include "console/report.h"

#include <QString>

class CommandActions;
class ConsoleState;
struct LineFileData;

// Saving the work to a line file and opening one, each reporting its own
// failure ("Save Error", "Open Error") with the reason under it.
class LineFileActions
{
public:
    LineFileActions(ConsoleState &state, CommandActions &actions, ReportSink &reports);

    bool save(const QString &path);
    // A file is read and checked whole before anything changes: one that
    // cannot be used leaves the work as it was.
    bool open(const QString &path);

private:
    void apply(const LineFileData &data);

    ConsoleState &m_state;
    CommandActions &m_actions;
    ReportSink &m_reports;
};
