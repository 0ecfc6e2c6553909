#include "protocol/decoder.h"

#include "protocol/commandcodes.h"
#include "store/codec.h"
#include "store/digits.h"

namespace {

constexpr char Lead = char(0xF0);

struct Shape
{
    char letter;
    CommandKind kind;
    bool numbered;     // a two-digit number field follows the code
    int operandLength; // fixed operand bytes after the code; -1: text up to 0A
};

constexpr Shape Shapes[] = {
    {'S', CommandKind::SetLine, true, -1},      {'C', CommandKind::ClearLine, true, 0},
    {'L', CommandKind::ReloadLine, true, 0},    {'p', CommandKind::SelectPage, true, 0},
    {'P', CommandKind::ReloadPage, true, 0},    {'T', CommandKind::CursorOn, true, 0},
    {'t', CommandKind::CursorOff, true, 0},     {'H', CommandKind::HPos, false, 2},
    {'V', CommandKind::VPos, false, 2},         {'O', CommandKind::LeftOffset, false, 3},
    {'B', CommandKind::Transparency, false, 1},
};

const Shape *shapeOf(char letter)
{
    for (const Shape &shape : Shapes) {
        if (shape.letter == letter)
            return &shape;
    }
    return nullptr;
}

bool startsCommand(QByteArrayView stream, qsizetype at)
{
    const char byte = stream[at];
    return byte == char(CmdOSDTurnOff) || (byte == Lead && at + 1 < stream.size() && shapeOf(stream[at + 1]));
}

int fieldNumber(QByteArrayView field)
{
    auto digit = [](char c) { return c >= 'a' ? -1 : hexDigitValue(char16_t(static_cast<unsigned char>(c))); };
    const int high = digit(field[0]);
    const int low = digit(field[1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The command that starts at `at`, which startsCommand() has accepted.
SentCommand commandAt(QByteArrayView stream, qsizetype at)
{
    SentCommand command;
    if (stream[at] == char(CmdOSDTurnOff)) {
        command.kind = CommandKind::OsdOff;
        command.bytes = stream.sliced(at, 1).toByteArray();
        return command;
    }
    const Shape &shape = *shapeOf(stream[at + 1]);
    command.kind = shape.kind;
    qsizetype end = at + 2;
    const qsizetype left = stream.size() - end;
    if (shape.numbered) {
        if (left < 2) {
            command.incomplete = true;
            command.bytes = stream.sliced(at).toByteArray();
            return command;
        }
        command.number = fieldNumber(stream.sliced(end, 2));
        end += 2;
    }
    qsizetype operandEnd = end + shape.operandLength;
    if (shape.operandLength < 0) {
        const qsizetype terminator = stream.indexOf(char(LineTerminator), end);
        command.incomplete = terminator < 0;
        operandEnd = command.incomplete ? stream.size() : terminator;
        command.operand = stream.sliced(end, operandEnd - end).toByteArray();
        end = command.incomplete ? operandEnd : operandEnd + 1;
    } else {
        command.incomplete = operandEnd > stream.size();
        end = std::min(operandEnd, stream.size());
        command.operand =
            stream.sliced(at + 2 + (shape.numbered ? 2 : 0), end - at - 2 - (shape.numbered ? 2 : 0)).toByteArray();
    }
    command.bytes = stream.sliced(at, end - at).toByteArray();
    return command;
}

QString quotedText(const QByteArray &operand)
{
    return u'"' + Codec::decode(operand) + u'"';
}

} // namespace

CommandKind kindOfLetter(char letter)
{
    const Shape *shape = shapeOf(letter);
    return shape ? shape->kind : CommandKind::Raw;
}

QList<SentCommand> decodeCommands(QByteArrayView stream)
{
    QList<SentCommand> commands;
    qsizetype at = 0;
    while (at < stream.size()) {
        if (startsCommand(stream, at)) {
            commands.append(commandAt(stream, at));
            at += commands.last().bytes.size();
            continue;
        }
        const qsizetype start = at;
        do
            ++at;
        while (at < stream.size() && !startsCommand(stream, at));
        SentCommand raw;
        raw.bytes = stream.sliced(start, at - start).toByteArray();
        commands.append(raw);
    }
    return commands;
}

QString commandWords(const SentCommand &command)
{
    const QString number = command.number < 0 ? QStringLiteral("??") : QString::number(command.number);
    const QString operand = Codec::decode(command.operand);
    QString words;
    switch (command.kind) {
    case CommandKind::SetLine:
        words = QStringLiteral("Set line %1 to %2").arg(number, quotedText(command.operand));
        break;
    case CommandKind::ClearLine:
        words = QStringLiteral("Clear line %1").arg(number);
        break;
    case CommandKind::ReloadLine:
        words = QStringLiteral("Reload line %1").arg(number);
        break;
    case CommandKind::SelectPage:
        words = QStringLiteral("Select page %1").arg(number);
        break;
    case CommandKind::ReloadPage:
        words = QStringLiteral("Reload page %1").arg(number);
        break;
    case CommandKind::CursorOn:
        words = QStringLiteral("Cursor on at line %1").arg(number);
        break;
    case CommandKind::CursorOff:
        words = QStringLiteral("Cursor off at line %1").arg(number);
        break;
    case CommandKind::HPos:
        words = QStringLiteral("Horizontal position %1").arg(operand);
        break;
    case CommandKind::VPos:
        words = QStringLiteral("Vertical position %1").arg(operand);
        break;
    case CommandKind::LeftOffset:
        words = QStringLiteral("Left offset %1").arg(operand);
        break;
    case CommandKind::Transparency: {
        const int value = operand.size() == 1 ? hexDigitValue(operand[0].unicode()) : -1;
        words = value < 0 ? QStringLiteral("Background transparency %1").arg(quotedText(command.operand))
                          : QStringLiteral("Background transparency %1").arg(value);
        break;
    }
    case CommandKind::OsdOff:
        words = QStringLiteral("OSD off");
        break;
    case CommandKind::Raw:
        words = QStringLiteral("Raw bytes");
        break;
    }
    return command.incomplete ? words + QStringLiteral(" (incomplete)") : words;
}
