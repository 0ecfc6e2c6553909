#include "protocol/commandcodes.h"

namespace {

constexpr quint8 CommandLead = 0xF0;

constexpr CommandCode code(char letter)
{
    return {CommandLead, static_cast<quint8>(letter)};
}

} // namespace

void InitCommandCodes(CommandCodes &codes, qint16 &transparencyMin, qint16 &transparencyMax)
{
    codes.CmdSendLine = code('S');
    codes.CmdClearLine = code('C');
    codes.CmdLeftOffset = code('O');
    codes.CmdBgTransparency = code('B');
    transparencyMin = 0;
    transparencyMax = 15;
    codes.CmdHPos = code('H');
    codes.CmdVPos = code('V');
    codes.CmdCursorOn = code('T');
    codes.CmdCursorOff = code('t');
    codes.CmdReloadPage = code('P');
    codes.CmdSelectPage = code('p');
}

void initReloadLineCode(CommandCodes &codes)
{
    codes.CmdReloadLine = code('L');
}

QByteArray codeBytes(const CommandCode &code)
{
    return QByteArray(reinterpret_cast<const char *>(code.data()), static_cast<qsizetype>(code.size()));
}

std::optional<QByteArray> numberField(int index)
{
    // The lists hold at most 255 entries; -1 is a list without a selection.
    if (index < -1 || index > 254)
        return std::nullopt;
    static constexpr char Digits[] = "0123456789ABCDEF";
    const int number = index + 1;
    const char field[2] = {Digits[number >> 4], Digits[number & 0xF]};
    return QByteArray(field, 2);
}
