#pragma once

#include <QString>

// What the operator is told when something fails: the window shows it as a
// message box (or, for Status, in the status bar), remote control as the
// client's ERR reply.
struct Report
{
    enum class Kind { Error, Information, Plain, Status };
    Kind kind = Kind::Error;
    QString title;
    QString text;
    QString reason; // stands under the text

    friend bool operator==(const Report &a, const Report &b)
    {
        return a.kind == b.kind && a.title == b.title && a.text == b.text && a.reason == b.reason;
    }
};

class ReportSink
{
public:
    virtual ~ReportSink() = default;
    virtual void report(const Report &report) = 0;
    // Whether reports now go back to a remote client rather than to the operator.
    virtual bool collecting() const { return false; }
};
