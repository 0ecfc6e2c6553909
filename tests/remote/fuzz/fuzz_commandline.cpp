// Any line: one with a CR or LF is refused; a command's text is what the
// line ends with (SET LINE) or holds (the rest); blanks before the words, and
// for ASCII lines the case of the words, change neither verb nor number.
#include "remote/remotecommand.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto same = [](const RemoteCommand &a, const RemoteCommand &b) {
        return a.verb == b.verb && a.number == b.number && a.ok() == b.ok();
    };
    const QString line = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const RemoteCommand c = RemoteCommand::parse(line);
    const bool breaks = line.contains(u'\r') || line.contains(u'\n');
    const bool ascii = line.toUtf8().size() == line.size();
    const bool textFits = c.verb == RemoteCommand::Verb::SetLine ? line.endsWith(c.text) : line.contains(c.text);
    if ((c.ok() && (breaks || !textFits || c.number > RemoteCommand::MaxNumber))
        || !same(c, RemoteCommand::parse(QStringLiteral(" \t") + line))
        || (ascii && !same(c, RemoteCommand::parse(line.toUpper()))))
        std::abort();
    return 0;
}
