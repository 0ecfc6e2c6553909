#include "remote/remotecommand.h"

#include "store/oneline.h"

#include <optional>

namespace {

using Verb = RemoteCommand::Verb;

enum class Operand { None, Number, NumberAndText, Text };

struct Form
{
    Verb verb;
    const char *words;
    Operand operand;
};

// A longer form stands before the shorter one it begins with: "SEND ALL
// LINES" before "SEND ALL".
constexpr Form Forms[] = {
    {Verb::Status, "STATUS", Operand::None},
    {Verb::Port, "PORT", Operand::Number},
    {Verb::Baud, "BAUD", Operand::Number},
    {Verb::Connect, "CONNECT", Operand::None},
    {Verb::Disconnect, "DISCONNECT", Operand::None},
    {Verb::SetLine, "SET LINE", Operand::NumberAndText},
    {Verb::SendAllLines, "SEND ALL LINES", Operand::None},
    {Verb::ClearAllLines, "CLEAR ALL LINES", Operand::None},
    {Verb::SendLine, "SEND LINE", Operand::Number},
    {Verb::ClearLine, "CLEAR LINE", Operand::Number},
    {Verb::ReloadLine, "RELOAD LINE", Operand::Number},
    {Verb::ReloadPage, "RELOAD PAGE", Operand::None},
    {Verb::Page, "PAGE", Operand::Number},
    {Verb::CursorOn, "CURSOR ON", Operand::Number},
    {Verb::CursorOff, "CURSOR OFF", Operand::Number},
    {Verb::HPos, "HPOS", Operand::Text},
    {Verb::VPos, "VPOS", Operand::Text},
    {Verb::Offset, "OFFSET", Operand::Text},
    {Verb::Transparency, "TRANSPARENCY", Operand::Text},
    {Verb::SendAll, "SEND ALL", Operand::None},
    {Verb::OsdOff, "OSD OFF", Operand::None},
    {Verb::Bytes, "BYTES", Operand::Text},
};

// How much of an unknown line a refusal repeats.
constexpr qsizetype EchoChars = 40;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView skipBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    return text;
}

// The first word of text, which begins at a word.
QStringView firstWord(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && !isBlank(text[end]))
        ++end;
    return text.left(end);
}

// ASCII only, so that no other script's letters fold into a command word.
bool sameWord(QStringView word, QLatin1StringView keyword)
{
    if (word.size() != keyword.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        const char16_t upper = c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
        if (upper != char16_t(keyword[i].unicode()))
            return false;
    }
    return true;
}

// What follows the form's words (a blank first, or nothing), or nullopt
// when the line is not this form.
std::optional<QStringView> afterWords(QStringView line, const Form &form)
{
    QStringView rest = line;
    for (const QLatin1StringView keyword : QLatin1StringView(form.words).tokenize(u' ')) {
        rest = skipBlanks(rest);
        const QStringView word = firstWord(rest);
        if (!sameWord(word, keyword))
            return std::nullopt;
        rest = rest.mid(word.size());
    }
    return rest;
}

std::optional<int> readNumber(QStringView word)
{
    if (word.isEmpty() || word.size() > 9)
        return std::nullopt;
    int number = 0;
    for (const QChar c : word) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

RemoteCommand withOperand(const Form &form, QStringView line, QStringView rest)
{
    RemoteCommand command;
    command.verb = form.verb;
    const QString name = QLatin1String(form.words);
    if (!OneLine::isOneLine(line)) {
        command.error = QStringLiteral("%1 takes no CR or LF").arg(name);
        return command;
    }
    const QStringView operand = rest.trimmed();
    switch (form.operand) {
    case Operand::None:
        if (!operand.isEmpty())
            command.error = QStringLiteral("%1 takes nothing after it").arg(name);
        break;
    case Operand::Number:
        if (const std::optional<int> number = readNumber(operand))
            command.number = *number;
        else
            command.error = QStringLiteral("%1 takes a number").arg(name);
        break;
    case Operand::NumberAndText: {
        // The text is the rest of the line after the one blank that ends the number.
        const QStringView word = firstWord(skipBlanks(rest));
        if (const std::optional<int> number = readNumber(word))
            command.number = *number;
        else
            command.error = QStringLiteral("%1 takes a number, then the text").arg(name);
        command.text = skipBlanks(rest).mid(word.size() + 1).toString();
        break;
    }
    case Operand::Text:
        if (operand.isEmpty())
            command.error = QStringLiteral("%1 takes a value").arg(name);
        command.text = operand.toString();
        break;
    }
    return command;
}

} // namespace

RemoteCommand RemoteCommand::parse(QStringView line)
{
    for (const Form &form : Forms) {
        if (const std::optional<QStringView> rest = afterWords(line, form))
            return withOperand(form, line, *rest);
    }
    RemoteCommand unknown;
    const QStringView shown = line.trimmed();
    unknown.error = shown.isEmpty() ? QStringLiteral("empty command")
                                    : QStringLiteral("unknown command: %1").arg(shown.left(EchoChars));
    return unknown;
}
